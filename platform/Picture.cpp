#include "platform/Picture.h"
