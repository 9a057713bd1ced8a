// The control's about dialog.

#include "plugin/MorvaXEditorCtrl.h"

#include "ui/AboutPrp.h"

void CMorvaXEditorCtrl::AboutBox()
{
    CAboutPrp dialog(ProductName, FileVersion);
    dialog.Debug = Debug;
    if (dialog.DoModal())
        Debug = dialog.Debug;
}
