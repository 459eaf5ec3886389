#include "inc/strings.h"
en: GREETING
