#pragma once
// A document for the writer's tests, in the state a load leaves it: a tree
// read from case markup (its marker attributes _sel and _caret set the
// selection and the caret, tests/element/support/MarkedDocument.h), the
// full-document flag, the html and head start tags, the head and style
// markup, the working rules and the default base URL; an engine with a
// control whose settings the test gives.
//
// The tree stays the reader's (CMarkupDocument); the document is handed its
// body for the test's length and takes it back before the reader goes.

#include "document/XDoc.h"

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "tests/element/support/MarkedDocument.h"

#include <memory>
#include <string>

namespace qmtest {

class WrittenDocument
{
public:
    // Settings are made on Control() and the fields before Read.
    WrittenDocument()
    {
        m_marked.engine.m_control = &m_control;
        m_marked.engine.m_controlOptions = &m_control.Options;
        Doc().m_generatorName = &m_control.ProductName;
    }
    ~WrittenDocument() { Doc().m_root = nullptr; }
    WrittenDocument(const WrittenDocument&) = delete;
    WrittenDocument& operator=(const WrittenDocument&) = delete;

    // Reads the body markup: a whole document when it is a body element
    // (the full-document flag set), else a fragment (flag clear). A
    // selection marked in it sets the selection-present flag. False when
    // it does not read.
    bool Read(const std::string& markup)
    {
        CSafeBuf error;
        if (!m_marked.Read(markup, error))
            return false;
        Doc().m_root = m_marked.Body();
        Doc().m_fullDocument = m_marked.doc.IsWholeDocument() ? 1 : 0;
        Doc().m_selectionPresent = HasSelection(m_marked.Body()) ? 1 : 0;
        return true;
    }

    CXDoc& Doc() { return m_marked.engine.m_doc; }
    CMorvaXEditorCtrl& Control() { return m_control; }

private:
    static bool HasSelection(const CElement* e)
    {
        if (e->m_selected)
            return true;
        for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (HasSelection(c))
                return true;
        }
        return false;
    }

    CMorvaXEditorCtrl m_control;
    MarkedDocument m_marked;
};

} // namespace qmtest
