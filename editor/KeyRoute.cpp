#include "editor/KeyRoute.h"

unsigned char g_IsSafara = 0;
