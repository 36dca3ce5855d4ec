#include "ini/ProfileBuffers.h"

#include <cstring>

#include "text/Ansi.h"

namespace zav {

std::size_t copyLimited(wchar_t* dst, const std::wstring& src, std::size_t n) {
    if (n == 0) return 0;
    std::size_t count = src.size() < n - 1 ? src.size() : n - 1;
    for (std::size_t i = 0; i < count; ++i) dst[i] = src[i];
    dst[count] = L'\0';
    return count;
}

std::size_t wideLength(const wchar_t* s) {
    std::size_t n = 0;
    while (s[n]) ++n;
    return n;
}

namespace {
bool isQuoted(const std::wstring& v) { return v.size() > 1 && (v[0] == L'\'' || v[0] == L'"') && v.back() == v[0]; }
}  // namespace

std::wstring unquotedValue(const std::wstring& value) {
    return isQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

void copyValue(wchar_t* buffer, const std::wstring& value, std::size_t len) {
    std::wstring v = value;
    const bool quoted = isQuoted(v);
    if (quoted) v.erase(0, 1);
    copyLimited(buffer, v, len);
    std::size_t copied = wideLength(buffer);
    if (quoted && len >= v.size() && copied > 0) buffer[copied - 1] = L'\0';
}

std::uint32_t narrowValue(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size) {
    std::string bytes = count ? toAnsi(std::wstring(wide, count)) : std::string();
    if (bytes.size() > size - 1) bytes.resize(size - 1);
    std::memcpy(buffer, bytes.data(), bytes.size());
    buffer[bytes.size()] = '\0';
    return static_cast<std::uint32_t>(bytes.size());
}

std::uint32_t copyList(const std::vector<std::string>& items, ListKind kind, char* buffer, std::uint32_t size) {
    std::string list;
    for (const auto& item : items) list += item + '\0';
    if (list.size() + 1 < size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<std::uint32_t>(list.size());
    }
    const std::uint32_t room = size - 2;
    if (kind == ListKind::Names && !items.empty() && items.front().size() > room) {
        buffer[0] = buffer[1] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), room);
    buffer[room] = buffer[room + 1] = '\0';
    return room;
}

}  // namespace zav
