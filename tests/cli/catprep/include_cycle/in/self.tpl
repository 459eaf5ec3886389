before
#include "self.tpl"
after
