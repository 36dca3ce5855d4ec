// Sizes in twips (1/1440 inch), turned into pixels at the display's DPI: the program declares
// system DPI awareness, so every window and control is laid out in twips and scaled here.
#pragma once

namespace zav {
namespace win {

// Twips to pixels at the system's DPI (15 twips a pixel at 96 DPI).
int twipsX(int twips);
int twipsY(int twips);

}  // namespace win
}  // namespace zav
