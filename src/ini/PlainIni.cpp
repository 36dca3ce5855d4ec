#include "ini/PlainIni.h"

#include "ini/ProfileBuffers.h"
#include "ini/ValueLimits.h"
#include "text/Ansi.h"

namespace zav {
namespace {

bool startsWith(const std::string& bytes, const char* mark) { return bytes.rfind(mark, 0) == 0; }

}  // namespace

std::optional<IniDocument> plainIniDocument(const std::string& bytes) {
    // Implementations read a file with a byte-order mark as UTF-8 or UTF-16, or not at all.
    if (startsWith(bytes, "\xEF\xBB\xBF") || startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF"))
        return std::nullopt;
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    IniDocument doc(fromAnsi(bytes));
    if (!doc.plain(kLongestIniValue)) return std::nullopt;
    return doc;
}

std::optional<std::wstring> iniValue(const IniDocument& doc, const std::wstring& section, const std::wstring& key) {
    IniEntry entry;
    if (!doc.find(section, key, entry) || !entry.hasValue) return std::nullopt;
    return unquotedValue(entry.value);
}

}  // namespace zav
