// An export type's name is the base name of its file: these say whether a name can be one, and
// turn a window text into a name that can.
#pragma once

#include <string>

namespace zav {

// The refusal for an unusable name ("" when the name can be a file name): empty, any of
// \ / : * ? " < > | or a control character, a device name such as CON or LPT1, or a dot or blank
// at its end.
std::wstring exportTypeNameProblem(const std::wstring& name);

// A usable name made from any text: forbidden characters become "_", dots and blanks at the end
// are dropped, and a device name gets "_" appended. Empty when nothing usable is left.
std::wstring proposeExportTypeName(const std::wstring& text);

}  // namespace zav
