#pragma once
// The painted rows of the body's children, kept beside the tree in one
// compact array (CPaintState::m_bodyRows), so that a keystroke in a long
// document touches only the children it changed and those a repaint paints.
//
// Each entry holds a child's current painted rows and how far the child's
// own record lags behind them: the blocks after an edited block move with
// one addition each in this array, and a child's record (and, through its
// Lay().m_recordShift, its subtree's) catches up when a walk reaches it
// (SettleBodyRow). Entries follow the child list; any change to the body's
// list of children makes every record current and drops the array, which
// the next full walk of the body builds again.
//
// The layout tells the repaint what it did at the body's level: the blocks
// after one child moved by a number of rows (ShiftFollowing), or the body
// laid out its lines anew (CalcWinReg). Until the next repaint takes the
// records, those notes let it pass over the children nothing touched.

#include <cstddef>
#include <vector>

class CElement;
struct CElementLayout;

namespace qm::paint {

struct BodyRow
{
    CElement* e;
    int top;    // first painted row, current
    int bottom; // exclusive
    int lag;    // rows the child's own record lags behind top and bottom
};

struct BodyRows
{
    // The body the entries belong to; null when there are none.
    const CElement* root = nullptr;
    std::vector<BodyRow> rows;
    // The layout record of each entry's child, which lives as long as the
    // child: the layout moves the blocks after an edited block through them
    // without reading the children themselves.
    std::vector<CElementLayout*> lays;
    // Some entry lags.
    bool lagging = false;
    // Every entry was painted, and neither tops nor bottoms decrease down
    // the list (blocks stacked one below another): the entries meeting a
    // band of rows are then one run, found by halving.
    bool ordered = false;
    // Where the last lookup found its child: lookups near it come first.
    std::size_t hint = 0;

    // Since the records were last taken: the body's lines were made anew
    // (or its children changed), and the blocks after shiftAfter moved
    // shiftDy rows, shifts counting how often that happened.
    bool relaid = true;
    const CElement* shiftAfter = nullptr;
    int shiftDy = 0;
    int shifts = 0;
};

// The child of the body on the way from the body to e (e itself when it is
// one), or null.
const CElement* BodyChildAbove(const CElement* e);
// Entries for every child of root, from the children's records (current
// ones: the caller has just taken or settled them).
void BuildBodyRows(CElement* root);
// The records were taken: the layout's notes start again.
void ClearBodyNotes(const CElement* root);
// Every entry's lag handed to its child's record, then the entries dropped;
// the layout notes say the body was laid out anew.
void DropBodyRows(const CElement* root);
// The entries dropped without handing their lag on: every record is being
// made anew from the layout, which the lag is already part of.
void ForgetBodyRows(const CElement* root);
// The index of child's entry, or -1 when root keeps none for it.
long BodyRowIndex(const CElement* root, const CElement* child);
// The child of entry i takes its lag into its record.
void SettleBodyRow(BodyRows& rows, std::size_t i);
// The entry of child (a child of the body) takes the child's record again
// after it was recorded or moved; its lag must have been handed over.
void RefreshBodyRow(const CElement* child);
// How far the record of child (a child of the body) lags behind its entry.
int BodyRowLag(const CElement* child);
// The layout records of the children after child, when root keeps entries
// that follow its child list as it stands and one of them is child's; null
// otherwise. count takes their number.
CElementLayout* const* BodyLayoutsAfter(const CElement* root, const CElement* child, std::size_t& count);
// Where a walk for the entries meeting rows from top down may start: the
// first entry whose bottom lies below top when the entries are ordered,
// else 0. Once ordered entries begin at or below the band's bottom, none
// after them meets it.
std::size_t FirstBodyRowBelow(const BodyRows& rows, int top);
// Over the entries but entry at: the largest bottom of those before it (of
// all of them when !split), and the smallest top and largest bottom of
// those after it (split only; INT_MAX and INT_MIN when there are none).
// False when an entry was never painted.
bool BodyRowsAround(
    const BodyRows& rows, std::size_t at, bool split, int& before, int& tailTop, int& tailBottom);
// The entries after entry at move dy rows, their children's records
// lagging behind by as much more.
void ShiftBodyRowsAfter(BodyRows& rows, std::size_t at, int dy);

// Notes of the layout: the blocks after child, a child of root, moved dy
// rows; root laid out its lines anew.
void NoteBodyShift(const CElement* root, const CElement* child, int dy);
void NoteBodyRelaid(const CElement* root);

} // namespace qm::paint
