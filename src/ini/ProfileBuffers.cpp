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

void copyValue(wchar_t* buffer, const std::wstring& value, std::size_t len) {
    std::wstring v = value;
    bool quoted = false;
    if (!v.empty() && (v[0] == L'\'' || v[0] == L'"') && v.size() > 1 && v.back() == v[0]) {
        quoted = true;
        v.erase(0, 1);
    }
    copyLimited(buffer, v, len);
    std::size_t copied = wideLength(buffer);
    if (quoted && len >= v.size() && copied > 0) buffer[copied - 1] = L'\0';
}

std::uint32_t listEntries(const IniSection& section, wchar_t* buffer, std::uint32_t len, bool withValues) {
    const std::uint32_t oldLen = len;
    wchar_t* out = buffer;
    for (const auto& e : section.entries) {
        if (len <= 2) break;
        if (e.name.empty() && !e.hasValue) continue;
        if (!e.name.empty() && e.name[0] == L';') continue;
        if (!withValues && !e.hasValue) continue;
        std::size_t n = copyLimited(out, e.name, len - 1);
        len -= static_cast<std::uint32_t>(n + 1);
        out += n + 1;
        if (len < 2) break;
        if (withValues && e.hasValue) {
            out[-1] = L'=';
            n = copyLimited(out, e.value, len - 1);
            len -= static_cast<std::uint32_t>(n + 1);
            out += n + 1;
        }
    }
    *out = L'\0';
    if (len <= 1) {
        if (out > buffer) out[-1] = L'\0';
        return oldLen >= 2 ? oldLen - 2 : 0;
    }
    return oldLen - len;
}

std::uint32_t listSectionNames(const std::vector<IniSection>& sections, wchar_t* buffer, std::uint32_t len) {
    if (len == 0) return 0;
    if (len == 1) {
        buffer[0] = L'\0';
        return 0;
    }
    std::uint32_t room = len - 1;
    wchar_t* out = buffer;
    for (const auto& s : sections) {
        if (s.name.empty()) continue;
        const auto needed = static_cast<std::uint32_t>(s.name.size() + 1);
        if (needed >= room) {
            for (std::uint32_t i = 0; i + 1 < room; ++i) *out++ = s.name[i];
            *out++ = L'\0';
            *out = L'\0';
            return len - 2;
        }
        for (wchar_t c : s.name) *out++ = c;
        *out++ = L'\0';
        room -= needed;
    }
    *out = L'\0';
    return static_cast<std::uint32_t>(out - buffer);
}

std::uint32_t narrowValue(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size) {
    std::string bytes = count ? toAnsi(std::wstring(wide, count)) : std::string();
    if (bytes.size() > size - 1) bytes.resize(size - 1);
    std::memcpy(buffer, bytes.data(), bytes.size());
    buffer[bytes.size()] = '\0';
    return static_cast<std::uint32_t>(bytes.size());
}

std::uint32_t narrowLineList(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size) {
    if (count == 0) {
        buffer[0] = buffer[1] = '\0';
        return 0;
    }
    if (count == size * 2 - 2) ++count;
    std::string bytes = toAnsi(std::wstring(wide, count + 1));
    if (bytes.size() >= size) {
        std::memcpy(buffer, bytes.data(), size);
        buffer[size - 2] = buffer[size - 1] = '\0';
        return size - 2;
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    return static_cast<std::uint32_t>(bytes.size() - 1);
}

std::uint32_t narrowNameList(const wchar_t* wide, std::uint32_t count, char* buffer, std::uint32_t size) {
    if (count == 0) {
        buffer[0] = '\0';
        return 0;
    }
    std::string bytes = toAnsi(std::wstring(wide, count + 1));
    if (bytes.size() > size - 1) {
        std::memcpy(buffer, bytes.data(), size - 1);
        buffer[size - 1] = '\0';
        return size - 2;
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    return static_cast<std::uint32_t>(bytes.size() - 1);
}

}  // namespace zav
