#include "styles/WallpaperLayout.h"
