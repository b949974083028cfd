// Where a picture goes on the screen in each wallpaper style.
#pragma once
