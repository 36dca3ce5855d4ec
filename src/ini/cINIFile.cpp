#include "ini/cINIFile.h"

#include <utility>

#include "core/Error.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "ini/ValueLimits.h"
#include "text/Ansi.h"

namespace zav {
namespace {

const std::wstring kNul(1, L'\0');

std::wstring trimBlanks(const std::wstring& s) {
    auto first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    auto last = s.find_last_not_of(L' ');
    return s.substr(first, last - first + 1);
}

// First letter of each blank-separated word in upper case, every other letter in lower case.
std::wstring properCase(const std::wstring& s) {
    std::wstring out(s);
    bool wordStart = true;
    for (auto& c : out) {
        if (c == L' ') {
            wordStart = true;
            continue;
        }
        c = wordStart ? upperChar(c) : lowerChar(c);
        wordStart = false;
    }
    return out;
}

// The value whole, CR and LF removed: when the answer may have been cut by the buffer, ask again
// with a larger one. A quoted value cut just before its closing quote comes back one character
// shorter than the buffer allows, so an answer of size-2 counts as possibly cut too.
std::wstring readWholeString(IProfile& profile, const std::string& section, const std::string& key,
                             const std::string& def, const wchar_t* file) {
    std::string buffer(256, '\0');
    std::uint32_t n = 0;
    for (;;) {
        auto size = static_cast<std::uint32_t>(buffer.size());
        n = profile.getString(section.c_str(), key.c_str(), def.c_str(), buffer.data(), size, file);
        if (n + 2 < size || size >= (1u << 26)) break;
        buffer.assign(buffer.size() * 4, '\0');
    }
    return n == 0 ? std::wstring() : StripCrLf(fromAnsi(buffer.substr(0, n)));
}

}  // namespace

std::wstring StripCrLf(const std::wstring& s) {
    std::wstring out;
    out.reserve(s.size());
    for (wchar_t c : s)
        if (c != L'\r' && c != L'\n') out.push_back(c);
    return out;
}

cINIFile::cINIFile(const Storage& storage) : storage_(storage) {
    std::wstring base;
    std::wstring folder;
    try {
        base = storage_.host.programBaseName();
        folder = storage_.host.programFolder();
    } catch (const Error&) {
        return;
    }
    if (trimBlanks(base).empty()) return;
    FullPath(ExpandLongPath(folder) + L"\\" + properCase(base) + L".ini");
    SectionName_ = L"General";  // stored directly: SectionSet stays false until a setter runs
}

cINIFile::~cINIFile() = default;

std::wstring cINIFile::ExpandLongPath(const std::wstring& path) const {
    if (path.empty()) return {};
    std::wstring text = path;
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, L":\\") == 0) return text;
    if (text.back() != L'\\') text += L'\\';
    bool network = text.size() >= 2 && text[0] == L'\\' && text[1] == L'\\';
    bool drive = text.size() >= 2 && text[1] == L':';
    if (network) return text;
    // Without a drive letter (the native build) there are no short names to expand.
    if (!drive) return text.substr(0, text.size() - 1);
    std::wstring tail;
    auto p = text.find(L'\\', 3);
    while (p != std::wstring::npos) {
        std::wstring name;
        try {
            name = storage_.host.findFirst(text.substr(0, p), true);
        } catch (const Error&) {
            name.clear();
        }
        if (name.empty()) return {};
        tail += L"\\" + name;
        p = text.find(L'\\', p + 1);
    }
    return text.substr(0, 2) + tail;
}

void cINIFile::UseWinINI(VBool bChoice) {
    if (bChoice == UseWinINI_) return;
    UseWinINI_ = bChoice;
    if (bChoice != vbFalse) {
        std::wstring windows;
        try {
            windows = storage_.host.windowsDirectory();
        } catch (const Error&) {
            windows.clear();
        }
        FullPath_ = windows + L"\\WIN.INI";
        FilePath_ = ExtractPath(FullPath_);
        FileName_ = ExtractName(FullPath_, 1);
        FileExt_ = ExtractName(FullPath_, 2);
    } else {
        FullPath(PrivPath_);
    }
}

void cINIFile::FullPath(const std::wstring& NewPath) {
    PrivPath_ = NewPath;
    FullPath_ = PrivPath_;
    FilePath_ = ExtractPath(FullPath_);
    FileName_ = ExtractName(FullPath_, 1);
    FileExt_ = ExtractName(FullPath_, 2);
    SectionSet_ = toVBool(!trimBlanks(SectionName_).empty());
    UseWinINI_ = vbFalse;
}

void cINIFile::SectionName(const std::wstring& SetSection) {
    SectionName_ = SetSection;
    SectionSet_ = toVBool(!trimBlanks(SetSection).empty());
}

std::wstring cINIFile::ExtractName(const std::wstring& PathIn, std::int32_t RetChoice) const {
    const std::wstring path = PathIn.empty() ? FullPath_ : PathIn;
    std::wstring name;
    auto slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos)
        name = path.substr(slash + 1);
    else if (path.find(L':') == 1)
        name = path.substr(2);
    else
        name = path;
    auto dot = name.find(L'.');
    if (dot != std::wstring::npos) {
        if (RetChoice == 1) name = name.substr(0, dot);
        else if (RetChoice == 2) name = name.substr(dot + 1);
    }
    return name;
}

std::wstring cINIFile::ExtractPath(const std::wstring& PathIn) const {
    const std::wstring path = PathIn.empty() ? FullPath_ : PathIn;
    std::wstring folder;
    auto slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos) {
        folder = path.substr(0, slash);
    } else {
        try {
            if (path.find(L':') == 1) folder = storage_.host.driveCurrentDirectory(path[0]);
            if (folder.empty()) folder = storage_.host.currentDirectory();
        } catch (const Error&) {
            folder.clear();
        }
    }
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

VBool cINIFile::Exists(const std::wstring& filname) const {
    std::wstring pattern = filname;
    if (pattern.find(L'.') == std::wstring::npos) pattern += L".*";
    try {
        return toVBool(!storage_.host.findFirst(pattern, false).empty());
    } catch (const Error&) {
        return vbFalse;  // a listing that fails (bad name, drive not ready) finds nothing
    }
}

bool cINIFile::gate(const wchar_t* operation) {
    if (SectionSet_ != vbFalse) return true;
    LogicError(operation);
    return false;
}

void cINIFile::LogicError(const wchar_t* operation) {
    ++refusals_;
    lastRefusal_ = IniRefusal{operation, FullPath_, kLogicErrorText, kLogicErrorTitle};
    pending_.push_back(lastRefusal_);
}

const wchar_t* cINIFile::fileArg(const std::wstring& path) const {
    return UseWinINI_ != vbFalse ? nullptr : path.c_str();
}

std::wstring cINIFile::GetString(const std::wstring& EntryName, const std::wstring& DefaultStr) {
    if (!gate(L"GetString")) return {};
    const std::wstring& path = FullPath_;
    return readWholeString(storage_.profile, toAnsi(SectionName_), toAnsi(EntryName), toAnsi(DefaultStr), fileArg(path));
}

std::int16_t cINIFile::GetInt(const std::wstring& EntryName, std::int16_t DefaultInt) {
    if (!gate(L"GetInt")) return 0;
    const std::wstring& path = FullPath_;
    std::uint32_t raw = storage_.profile.getInt(toAnsi(SectionName_).c_str(), toAnsi(EntryName).c_str(),
                                         static_cast<std::int32_t>(DefaultInt), fileArg(path));
    return narrow16(static_cast<std::int32_t>(raw), L"GetInt " + EntryName);
}

VBool cINIFile::GetTF(const std::wstring& EntryName, std::int16_t DefaultInt) {
    std::wstring value = trimBlanks(upperCase(GetString(EntryName, DefaultInt != 0 ? L"True" : L"False")));
    for (const wchar_t* word : {L"YES", L"Y", L"TRUE", L"T", L"ON", L"1", L"-1"})
        if (value == word) return vbTrue;
    return vbFalse;
}

std::int16_t cINIFile::PutString(const std::wstring& EntryName, const std::wstring& StrValue) {
    if (!gate(L"PutString")) return 0;
    const std::wstring& path = FullPath_;
    std::int32_t result = storage_.profile.writeString(toAnsi(SectionName_).c_str(), toAnsi(EntryName).c_str(),
                                                toAnsi(StrValue).c_str(), fileArg(path));
    return result != 0 ? static_cast<std::int16_t>(result > 32767 || result < -32768 ? 1 : result) : 0;
}

std::wstring cINIFile::ContinuationName(const std::wstring& EntryName, std::size_t index) {
    return EntryName + L"%+" + std::to_wstring(index);
}

// The pieces a text is stored in, each as it is written: one piece when the text fits a value as
// it is (or in quotes), else pieces that fit in quotes, every one quoted.
static std::vector<std::wstring> longValuePieces(const std::wstring& name, const std::wstring& text) {
    auto quote = [](const std::wstring& piece) { return L"\"" + piece + L"\""; };
    const bool plain = valueLimitProblem(name, text).empty();
    if (plain) return {text};
    if (text.size() + 2 <= kLongestIniValue) return {quote(text)};
    constexpr std::size_t kPiece = kLongestIniValue - 2;
    std::vector<std::wstring> pieces;
    for (std::size_t at = 0; at < text.size(); at += kPiece) pieces.push_back(quote(text.substr(at, kPiece)));
    return pieces;
}

std::int16_t cINIFile::PutLongString(const std::wstring& EntryName, const std::wstring& StrValue) {
    if (!gate(L"PutLongString")) return 0;
    if (!longValueProblem(EntryName, StrValue).empty()) return 0;
    const std::vector<std::wstring> pieces = longValuePieces(EntryName, StrValue);
    std::int16_t result = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        result = PutString(i == 0 ? EntryName : ContinuationName(EntryName, i + 1), pieces[i]);
        if (result == 0) return 0;
    }
    // Pieces of an earlier, longer text.
    const std::string section = toAnsi(SectionName_);
    const std::wstring& path = FullPath_;
    std::wstring stale;
    for (std::size_t index = pieces.size() + 1; ReadPiece(ContinuationName(EntryName, index), stale); ++index) {
        const std::string name = toAnsi(ContinuationName(EntryName, index));
        if (storage_.profile.writeString(section.c_str(), name.c_str(), nullptr, fileArg(path)) == 0) return 0;
    }
    return result;
}

bool cINIFile::ReadPiece(const std::wstring& name, std::wstring& piece) {
    // A missing entry gives the default: one that differs between two reads.
    piece = GetString(name, L"\x01");
    return piece != L"\x01" || GetString(name, L"\x02") == L"\x01";
}

std::wstring cINIFile::GetLongString(const std::wstring& EntryName, const std::wstring& DefaultStr) {
    if (!gate(L"GetLongString")) return {};
    std::wstring text = GetString(EntryName, DefaultStr);
    std::wstring piece;
    for (std::size_t index = 2; ReadPiece(ContinuationName(EntryName, index), piece); ++index) text += piece;
    return text;
}

std::int16_t cINIFile::PutInt(const std::wstring& EntryName, std::int16_t IntValue) {
    return PutString(EntryName, std::to_wstring(IntValue));
}

VBool cINIFile::PutTF(const std::wstring& EntryName, std::int16_t IntValue) {
    return toVBool(PutString(EntryName, IntValue != 0 ? L"True" : L"False") != 0);
}

void cINIFile::DeleteStrEntry(const std::wstring& EntryName) {
    if (!gate(L"DeleteStrEntry")) return;
    const std::wstring& path = FullPath_;
    storage_.profile.writeString(toAnsi(SectionName_).c_str(), toAnsi(EntryName).c_str(), "", fileArg(path));
}

void cINIFile::DeleteNumEntry(const std::wstring& EntryName) {
    if (!gate(L"DeleteNumEntry")) return;
    const std::wstring& path = FullPath_;
    storage_.profile.writeString(toAnsi(SectionName_).c_str(), toAnsi(EntryName).c_str(),
                          UseWinINI_ != vbFalse ? "0" : nullptr, fileArg(path));
}

void cINIFile::DeleteSection() {
    if (!gate(L"DeleteSection")) return;
    const std::wstring& path = FullPath_;
    storage_.profile.writeSection(toAnsi(SectionName_).c_str(), "\0", fileArg(path));
    SectionName_.clear();
    SectionSet_ = vbFalse;
}

void cINIFile::FlushCache() {
    if (!gate(L"FlushCache")) return;
    // Asks the profile layer to write out anything it keeps in memory for this file.
    const std::wstring& path = FullPath_;
    storage_.profile.writeString(nullptr, nullptr, nullptr, fileArg(path));
}

void cINIFile::IniRead(const std::wstring& SectionName, const std::wstring& EntryName, std::int16_t DefaultInt,
                       const std::wstring& DefaultStr, std::wstring& ReturnStr, VBool ReadNumber,
                       const std::wstring& FullPath) {
    const std::string section = toAnsi(SectionName), key = toAnsi(EntryName);
    const std::wstring& path = FullPath;
    const wchar_t* file = fileArg(path);
    if (ReadNumber != vbFalse) {
        auto raw = static_cast<std::int32_t>(storage_.profile.getInt(section.c_str(), key.c_str(), DefaultInt, file));
        ReturnStr = std::to_wstring(raw);
        return;
    }
    ReturnStr = readWholeString(storage_.profile, section, key, toAnsi(DefaultStr), file);
}

void cINIFile::IniWrite(const std::wstring& SectionName, const std::wstring& EntryName,
                        const std::wstring& NewVal, const std::wstring& FullPath) {
    const std::wstring& path = FullPath;
    storage_.profile.writeString(toAnsi(SectionName).c_str(), toAnsi(EntryName).c_str(), toAnsi(NewVal).c_str(),
                          fileArg(path));
}

std::wstring cINIFile::GetSectEntries() {
    if (!gate(L"GetSectEntries")) return {};
    const std::string section = toAnsi(SectionName_);
    const std::wstring& path = FullPath_;
    // The whole section: when the list fills the buffer, ask again with a larger one.
    std::string buffer(4096, '\0');
    std::uint32_t n = 0;
    for (;;) {
        auto size = static_cast<std::uint32_t>(buffer.size());
        n = storage_.profile.getSection(section.c_str(), buffer.data(), size, fileArg(path));
        if (n + 2 < size || size >= (1u << 26)) break;
        buffer.assign(buffer.size() * 4, '\0');
    }
    return fromAnsi(buffer.substr(0, n + 1));
}

std::int16_t cINIFile::GetSectEntriesEx(std::vector<std::wstring> (&DataArry)[2]) {
    if (!gate(L"GetSectEntriesEx")) return 0;
    std::wstring s = GetSectEntries();
    if (s.size() <= 1) return 0;
    std::size_t k = 0;
    while (!s.empty() && s[0] != L'\0') {
        DataArry[0].resize(k + 1);
        DataArry[1].resize(k + 1);
        auto e = s.find(L'\0');
        if (e == std::wstring::npos) e = s.size();
        auto q = s.find(L'=');
        if (q != std::wstring::npos && q < e) {
            DataArry[0][k] = StripCrLf(s.substr(0, q));
            DataArry[1][k] = StripCrLf(s.substr(q + 1, e - q - 1));
        } else {
            DataArry[1][k] = StripCrLf(s.substr(0, e));  // no "=": the name stays as it was
        }
        s = e < s.size() ? s.substr(e + 1) : std::wstring();
        ++k;
    }
    return narrow16(static_cast<long>(k), L"GetSectEntriesEx");
}

std::wstring cINIFile::GetSections() {
    if (!gate(L"GetSections")) return {};
    const std::string bytes = storage_.fs.readAll(FullPath_);
    std::wstring list;
    std::size_t start = 0;
    while (start < bytes.size()) {
        // A line ends at CR, or CR LF; a lone LF does not end a line.
        auto cr = bytes.find('\r', start);
        std::size_t end = cr == std::string::npos ? bytes.size() : cr;
        std::wstring line = fromAnsi(bytes.substr(start, end - start));
        start = end + 1;
        if (cr != std::string::npos && start < bytes.size() && bytes[start] == '\n') ++start;

        // Comments: a line starting with ";" is empty, otherwise cut at the first ";".
        auto semi = line.find(L';');
        if (semi == 0) line.clear();
        else if (semi != std::wstring::npos) line = line.substr(0, semi);
        line = trimBlanks(line);

        if (!line.empty() && line[0] == L'[' && line.find(L']') == line.size() - 1)
            list += line.substr(1, line.size() - 2) + kNul;
    }
    return list.empty() ? std::wstring(2, L'\0') : list + kNul;
}

std::int16_t cINIFile::GetSectionsEx(std::vector<std::wstring>& DataArry) {
    std::wstring s = GetSections();
    if (s.empty()) return 0;
    std::size_t k = 0;
    while (!s.empty() && s[0] != L'\0') {
        DataArry.resize(k + 1);
        auto e = s.find(L'\0');
        DataArry[k] = s.substr(0, e);
        s = e == std::wstring::npos ? std::wstring() : s.substr(e + 1);
        ++k;
    }
    return narrow16(static_cast<long>(k), L"GetSectionsEx");
}

VBool cINIFile::SectExist(const std::wstring& SectionName) {
    std::wstring s = GetSections();
    if (s.empty()) return vbFalse;
    std::wstring haystack = kNul + upperCase(s);
    return toVBool(haystack.find(kNul + upperCase(SectionName) + kNul) != std::wstring::npos);
}

void cINIFile::DebugPrintSections() {
    std::vector<std::wstring> names;
    std::int16_t count = GetSectionsEx(names);
    (void)count;  // nothing is traced in this build
}

}  // namespace zav
