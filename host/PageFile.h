#pragma once
// The page file qmhost runs: an XML description of one page with one plug-in
// tag, the page's script functions and the steps of a session.
//
//   <page address="http://www.example.test/edit.html" cookie="s=1"
//         window-object="true" has-method="true" unanswered="default">
//     <window x="100" y="80" width="640" height="480" title="..."/>
//     <plugin module="qm_host_fixture.so" type="application/x-qm-fixture"
//             x="20" y="30" width="400" height="240">
//       <param name="id" value="editor1"/>
//       <param name="Debug"/>                    (a parameter without value)
//     </plugin>
//     <function name="qmContentChanged"/>        (the page defines it)
//     <function name="qmFocusSet"><get property="Value"/></function>
//     <steps> ... </steps>
//   </page>
//
// Steps (points are in the plug-in's area, from its top-left corner;
// modifiers: a blank-separated list of command, shift, option, control,
// caps-lock):
//   <null-window/>  <window/>  <clip top= left= bottom= right=/>
//   <click x= y= modifiers=/>  <mouse-down x= y=/>  <mouse-up x= y=/>
//   <null x= y=/>  <drag from-x= from-y= to-x= to-y= steps= modifiers=/>
//   <key code= modifiers=/>      code: a number (0x.. or decimal) or a key
//                                name (a-z, 0-9, return, tab, space, delete,
//                                escape, enter, home, end, page-up,
//                                page-down, forward-delete, left, right, up,
//                                down, f1)
//   <type text=/>  <text-input text=/>  <pre-edit text=/>
//   <wheel x= y= delta= axis=/>
//   <focus/>  <blur/>  <activate/>  <deactivate/>  <update/>
//   <advance ms=/>
//   <get property=/>  <set property=>VALUE</set>  <call method=>VALUE...</call>
//       VALUE: <string>text</string> <int>3</int> <double>2.5</double>
//              <bool>true</bool> <null/> <void/>
//   <form-value/>  <clipboard text=/>  <read-clipboard/>
//   Answers for what the plug-in will show, queued in order:
//   <dialog-answer press="OK"> <field name= value=/> </dialog-answer>
//       (or close="true", fail="true"; press="" presses the default button)
//   <menu-answer choose="Table/Insert Row Above"/> (or command="32812";
//       neither: dismiss)
//   <put-file-answer folder= name=/> (or cancel="true")
//   Answered at once: the dialog of that kind shown without a modal loop
//   (the table-size picker is "table-size"):
//   <modeless-answer kind= press="Insert"> <field name= value=/> </modeless-answer>
//       (or close="true")
//   <drag-answer drop="inside" x= y=/> (or drop="cancel")
//   <close-window/>  the user closes the browser window: in a window, when
//       its event loop next runs (inside a dialog or menu the plug-in shows
//       next, or after this step); headless, at once. No step runs after it.
// A page function's body holds steps too; it runs each time the plug-in
// calls the function.
//
// Anything else - an unknown element or attribute, a number out of range, a
// missing attribute - makes the page unreadable, with the line it is on.

#include "host/BrowserWindow.h"
#include "host/Host.h"
#include "host/ScriptValue.h"
#include "host/ScriptedUiDriver.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm::host {

struct PageStep
{
    enum Kind
    {
        kNullWindow,
        kWindow,
        kClip,
        kClick,
        kMouseDown,
        kMouseUp,
        kNull,
        kDrag,
        kKey,
        kType,
        kTextInput,
        kPreEdit, // an input method's text not yet confirmed
        kWheel,
        kFocus,
        kBlur,
        kActivate,
        kDeactivate,
        kUpdate,
        kAdvance,
        kGet,
        kSet,
        kCall,
        kFormValue,
        kClipboard,
        kReadClipboard,
        kDialogAnswer,
        kMenuAnswer,
        kPutFileAnswer,
        kDragAnswer,
        kCloseWindow,
        kModelessAnswer // name: the dialog's kind; dialog: the answer
    };
    Kind kind = kUpdate;
    int line = 0;
    int x = 0, y = 0, x2 = 0, y2 = 0; // points; clip: x=left y=top x2=right y2=bottom
    int count = 0;                    // drag steps, wheel delta
    int axis = 0;
    std::uint16_t modifiers = 0;
    std::uint8_t code = 0;
    std::uint64_t ms = 0;
    std::string name; // property, method
    std::string text;
    std::vector<ScriptValue> values;
    DialogAnswer dialog;
    MenuAnswer menu;
    PutFileAnswer putFile;
    DragAnswer drag; // a drop point is in the plug-in's area until the runner converts it
};

struct PageFunction
{
    std::string name;
    std::vector<PageStep> body;
};

struct Page
{
    std::string address;
    std::string cookie;
    bool windowObject = true;
    bool hasMethod = true;
    bool failWhenUnanswered = false;
    WindowGeometry window;
    std::string module;
    std::string mimeType = "application/x-quillmark";
    std::vector<TagParam> params;
    int x = 20, y = 20, width = 400, height = 300;
    std::vector<PageFunction> functions;
    std::vector<PageStep> steps;
};

// Limits of what a page may ask for.
constexpr std::size_t kMaxPageBytes = 4 * 1024 * 1024;
constexpr std::size_t kMaxPageSteps = 100000;
constexpr int kMaxWindowSide = 4096;
constexpr std::uint64_t kMaxAdvanceMs = 24ull * 3600 * 1000;

// False with the reason (and the line) in error when the text is not a page.
bool ReadPage(const std::string& xml, Page& out, std::string& error);

} // namespace qm::host
