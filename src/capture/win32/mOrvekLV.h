// Old name of ListViewCapture.h, kept only while includers outside the capture folder still use it.
#pragma once

#include "capture/win32/ListViewCapture.h"
