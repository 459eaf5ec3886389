// Messages of the Quill text editor.
// Expanded by: catprep -DPRO app.cat app.tpl
#include "names.inc"
#define QUIT(app) Quit app
#begindef COUNTED(what)
en: %d what files
en[1]: %d what file
#enddef

en: MENU_FILE

en: Open

en: Save changes?

en: QUIT(the editor)

COUNTED(open)

#ifdef PRO
en: Export as PDF
#else
en: Upgrade to APP Pro
#endif

en: $ABOUT About APP
