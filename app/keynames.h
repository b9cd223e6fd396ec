// Host key names as pilots and scripts write them: the OAPI_KEY_ names without
// their prefix (H, M, Up, Delete, 1, ...), case-insensitive.
#ifndef TESSARC_APP_KEYNAMES_H
#define TESSARC_APP_KEYNAMES_H

#include "OrbiterAPI.h"

namespace app {

// The key's scan code, or 0 for an unknown name.
DWORD keyCode(const char *name);
// The key's name, or "" for an unknown code.
const char *keyName(DWORD code);

}  // namespace app

#endif  // TESSARC_APP_KEYNAMES_H
