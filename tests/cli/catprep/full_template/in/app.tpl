// Catalog of the demo application; built on _DATE_
#include "texts.inc"
#begindef MSG(key, text)
en: key
LANG: text
#enddef

  MSG(Open, \
Öffnen)   // file menu
  MSG("Save, as", "Speichern unter")
#define PLURAL(one, many) en: one
PLURAL(%d file, %d files) APP VERSION
#if LANG & !OLD
en: Built _DATE_
#elif OLD
en: old
#else
en: none
#endif
#msg template read
