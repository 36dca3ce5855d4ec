// What the portable core needs from the platform, behind interfaces. The Windows program fills
// these with Win32 implementations at start-up; the native build and the tests use POSIX or
// recording ones. Nothing here names a Win32 type.
#pragma once

#include <string>

#include "core/NumberFormat.h"

namespace zav {

enum class MessageIcon { None, Stop, Information };

// Modal messages to the user.
class IReporter {
public:
    virtual ~IReporter() = default;
    // A box with a single OK button; returns when the user closed it.
    virtual void show(const std::wstring& text, const std::wstring& title, MessageIcon icon) = 0;
    // A Yes/No question; true for Yes. Yes is the default button unless the reporter says otherwise.
    virtual bool ask(const std::wstring& text, const std::wstring& title) = 0;
};

// Facts about the running program and the directory listing used by the INI object.
class IHost {
public:
    virtual ~IHost() = default;
    // Folder of the running program file, no trailing "\" except at a drive root.
    virtual std::wstring programFolder() = 0;
    // Executable base name, without folder and extension.
    virtual std::wstring programBaseName() = 0;
    virtual std::wstring currentDirectory() = 0;
    // Current directory of the drive with that letter; empty when there is no such drive.
    virtual std::wstring driveCurrentDirectory(wchar_t drive) = 0;
    // First name the directory listing gives for the pattern; ordinary files only, or also folders,
    // hidden and system entries. Empty when nothing matches; raises zav::Error when the listing
    // itself fails (a malformed name, a drive that is not ready).
    virtual std::wstring findFirst(const std::wstring& pattern, bool foldersHiddenSystem) = 0;
    // The Windows folder as the 255-character profile call reports it; empty on failure.
    virtual std::wstring windowsDirectory() = 0;
    // The user's list separator (the locale's), which spreadsheets split CSV files by; "," where
    // the platform has no such setting.
    virtual std::wstring listSeparator() { return L","; }
    // The user's number format (the locale's signs, separators and currency symbol), by which a
    // cell is told to be a number; English (United States) where the platform has no such setting.
    virtual NumberFormat numberFormat() { return usEnglishNumberFormat(); }
};

// Title of every message box the program shows unless a box names another.
inline const wchar_t* const kProgramTitle = L"ZAVExport";

}  // namespace zav

#include <memory>

namespace zav {
// The build's own implementations (Win32 calls, or POSIX in the native build).
std::unique_ptr<IHost> makeSystemHost();
// Windows: modal message boxes. Native: the text on the standard error stream; ask() says No.
std::unique_ptr<IReporter> makeSystemReporter();
}  // namespace zav
