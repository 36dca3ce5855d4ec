// Old name of WindowText.h, kept only while includers outside the capture folder still use it.
#pragma once

#include "capture/win32/WindowText.h"
