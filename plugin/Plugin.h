#pragma once
// CPlugin: what sits behind one plug-in tag of a page (the instance's pdata).
// It keeps copies of the tag's parameters, builds the editor control when
// the first real window arrives, forwards window changes and events to it,
// and answers the browser's questions for the scriptable object and the
// form value.
//
// The page's window object, asked for when the control is built, is held
// (one reference) until shut() and released there. A browser that gives
// none is asked nothing more about the page: no has-method questions, no
// cookie, and the control raises no events.
//
// The control keeps a pointer to this record's copy of the window record,
// which lives as long as the control does; the browser's own record may not.

#include "base/text/SafeBuf.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Functions.h"

#include <cstdint>

class CMorvaXEditorCtrl;

class CPlugin
{
public:
    // Keeps the instance; everything else empty.
    explicit CPlugin(NPP instance);
    // shut() when still needed, frees the parameter copies, then clears the
    // scriptable object's owner and releases this record's reference to it.
    ~CPlugin();
    CPlugin(const CPlugin&) = delete;
    CPlugin& operator=(const CPlugin&) = delete;

    // Copies the tag's parameters: each name, and each value that is not
    // null (a parameter without a value keeps a null value). False when
    // memory runs out (nothing is kept then). A negative count is 0.
    bool SetArguments(std::int16_t argc, char* argn[], char* argv[]);

    // Builds the control for the window (see the .cpp); sets initialised.
    void Init(NPWindow* window);
    // Takes a new geometry when it changed (see the .cpp).
    void SetWindow(NPWindow* window);
    // Shows or hides the editor (the control's shown flag).
    void ShowHide(bool show);
    // The handled flag for one browser event: 0 without a control and for a
    // Tab key-down (so that the browser moves the focus).
    std::int16_t HandleEvent(EventRecord* event);
    // The scriptable object, made on the first call; retained once for the
    // caller on every call. Null when the browser cannot make it.
    NPObject* GetScriptableObject();
    // The form value in a block from the browser's memory allocation (the
    // browser frees it), UTF-8 and zero-terminated; a 1-byte empty string
    // without a control or a document. Null when the browser gives no memory.
    char* GetValue();
    // Clears initialised, deletes the control and releases the page's
    // window object.
    void shut();

    bool isInitialized() const { return m_bInitialized != 0; }

    // ---- fields ----
    NPObject* m_pScriptableObject = nullptr; // one reference held
    unsigned char m_bInitialized = 0;
    NPWindow m_Window{};                         // the last geometry taken
    CMorvaXEditorCtrl* m_pXEditorCtrl = nullptr; // owned
    std::int32_t m_argc = 0;
    char** m_argn = nullptr;             // argc + 1 entries, each new[]; the last null
    char** m_argv = nullptr;             // the same; an entry is null where the tag gave no value
    NPObject* m_pWindowObject = nullptr; // the page's window object; one reference held
    NPP m_pNPInstance = nullptr;

private:
    void FreeArguments();
    void AskForEvents();
    void TakeCookie();
    void TakePageAddress();
    bool ReadWindowString(const char* object, const char* property, CSafeBuf& out);
};
