// One INI file and one current section. Every configuration file of the program is read and
// written through this object; it keeps no copy of the file: each call goes to the file through
// the profile layer (entries) or reads the file line by line (section names).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/Types.h"
#include "ini/Storage.h"

namespace zav {

// A gated operation asked for while no section is set: the INI object refuses it and returns its
// empty result. It shows nothing itself: the refusal is kept with the object (Refusals,
// LastRefusal, TakeRefusals) for the caller, and the layer that talks to the user decides what the
// user sees. The program's own callers name their sections themselves and never leave one blank;
// a refused write returns 0, which they turn into an error.
struct IniRefusal {
    std::wstring operation;  // the refused member, e.g. L"GetString"
    std::wstring path;       // FullPath at that moment
    std::wstring text;       // the message the program shows for it
    std::wstring title;      // and its title
};

class cINIFile {
public:
    // Class_Initialize: the file beside the program named after it, in `storage`, through which
    // every call of the object goes; what the storage refers to must outlive the object.
    explicit cINIFile(const Storage& storage);
    ~cINIFile();  // Class_Terminate: releases the texts, touches no file

    // The public members, in the order of the object's interface.
    std::wstring PrivPath() const { return PrivPath_; }
    void UseWinINI(VBool bChoice);
    VBool UseWinINI() const { return UseWinINI_; }
    void FullPath(const std::wstring& NewPath);
    std::wstring FullPath() const { return FullPath_; }
    void SectionName(const std::wstring& SetSection);
    std::wstring SectionName() const { return SectionName_; }
    std::wstring FilePath() const { return FilePath_; }
    std::wstring FileExt() const { return FileExt_; }
    std::wstring ExtractName(const std::wstring& PathIn, std::int32_t RetChoice) const;
    std::wstring ExtractPath(const std::wstring& PathIn) const;
    void DeleteStrEntry(const std::wstring& EntryName);
    void DeleteNumEntry(const std::wstring& EntryName);
    void DeleteSection();
    VBool Exists(const std::wstring& filname) const;
    std::int16_t GetInt(const std::wstring& EntryName, std::int16_t DefaultInt);
    // Entry list: "name=value" NUL ... NUL NUL; a single NUL for no entries. Read whole.
    std::wstring GetSectEntries();
    // DataArry[0][k] = name, DataArry[1][k] = value; earlier contents kept when it grows.
    std::int16_t GetSectEntriesEx(std::vector<std::wstring> (&DataArry)[2]);
    // Section-name list: name NUL ... NUL NUL; two NULs for none. Raises when the file cannot be read.
    std::wstring GetSections();
    std::int16_t GetSectionsEx(std::vector<std::wstring>& DataArry);
    // The value whole, CR and LF removed; DefaultStr when the entry is missing.
    std::wstring GetString(const std::wstring& EntryName, const std::wstring& DefaultStr);
    VBool GetTF(const std::wstring& EntryName, std::int16_t DefaultInt);
    void FlushCache();
    // Reads one entry of any file and section; the value is handed back through ReturnStr.
    void IniRead(const std::wstring& SectionName, const std::wstring& EntryName, std::int16_t DefaultInt,
                 const std::wstring& DefaultStr, std::wstring& ReturnStr, VBool ReadNumber,
                 const std::wstring& FullPath);
    void IniWrite(const std::wstring& SectionName, const std::wstring& EntryName, const std::wstring& NewVal,
                  const std::wstring& FullPath);
    std::int16_t PutInt(const std::wstring& EntryName, std::int16_t IntValue);
    std::int16_t PutString(const std::wstring& EntryName, const std::wstring& StrValue);
    VBool PutTF(const std::wstring& EntryName, std::int16_t IntValue);
    VBool SectExist(const std::wstring& SectionName);
    std::wstring FileName() const { return FileName_; }
    void DebugPrintSections();

    // A text of any length, stored so that GetLongString gives it back whole: values read back only
    // up to kLongestIniValue characters (ValueLimits.h), so a longer text is cut into pieces, the
    // first under EntryName and the rest under EntryName + "%+2", "%+3", ... (names an escaped key
    // never takes); a piece that would lose blanks or quotes on reading is written in quotes.
    // Continuation entries of an earlier, longer text are removed. Returns what PutString returns
    // for the last piece written: 0 when the gate or the platform refused, and 0 without writing
    // anything when the text holds what no value can carry (longValueProblem).
    std::int16_t PutLongString(const std::wstring& EntryName, const std::wstring& StrValue);
    // The text PutLongString stored, its pieces joined; DefaultStr when the entry is missing. An
    // entry written by PutString reads as GetString reads it.
    std::wstring GetLongString(const std::wstring& EntryName, const std::wstring& DefaultStr);
    // The name of the continuation entry that holds piece `index` (2, 3, ...) of EntryName.
    static std::wstring ContinuationName(const std::wstring& EntryName, std::size_t index);

    // The gate: true when a non-blank section name is set.
    VBool SectionSet() const { return SectionSet_; }

    // How many gated operations this object has refused, and the last refusal.
    std::int32_t Refusals() const { return refusals_; }
    const IniRefusal& LastRefusal() const { return lastRefusal_; }
    // The refusals since the last call, oldest first.
    std::vector<IniRefusal> TakeRefusals() { return std::exchange(pending_, {}); }

    // The refusal's message and title, as the program shows them (information icon, OK only).
    static constexpr const wchar_t* kLogicErrorText = L"[Section] and FileName Not Registered in Private.Ini!";
    static constexpr const wchar_t* kLogicErrorTitle = L"IniFile Logic Error";

private:
    bool gate(const wchar_t* operation);       // false (after LogicError) when no section is set
    void LogicError(const wchar_t* operation);
    std::wstring ExpandLongPath(const std::wstring& path) const;
    const wchar_t* fileArg(const std::wstring& path) const;  // nullptr in WIN.INI mode
    bool ReadPiece(const std::wstring& name, std::wstring& piece);  // false when the entry is missing

    std::wstring SectionName_;
    std::wstring FileName_;
    std::wstring FilePath_;
    std::wstring FullPath_;
    std::wstring PrivPath_;
    std::wstring FileExt_;
    VBool SectionSet_ = vbFalse;
    VBool UseWinINI_ = vbFalse;
    Storage storage_;
    std::int32_t refusals_ = 0;
    IniRefusal lastRefusal_;
    std::vector<IniRefusal> pending_;
};

// Removes every carriage return, then every line feed.
std::wstring StripCrLf(const std::wstring& s);

}  // namespace zav
