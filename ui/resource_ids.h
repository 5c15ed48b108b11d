// Identifiers of the resources that the executable carries (see resources.rc).
#pragma once

#define UI_ICON_MAIN 1
#define UI_PICTURE_BACKGROUND 101
