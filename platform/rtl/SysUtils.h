// Run-time helpers of the class library: conversions, formatting, 1-based string routines, files,
// dates and times, the run-time format settings and the Windows-1252 text codec.
#pragma once

#include "System.h"

#include <QByteArray>
#include <concepts>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

class QDateTime;
class QLocale;

// ---------------------------------------------------------------------------------------------
// Run-time format settings
// ---------------------------------------------------------------------------------------------

// The settings numbers, dates and times are converted with. Date and time formats use the class
// library's pattern letters: d dd ddd dddd, m mm mmm mmmm, yy yyyy, h hh, n nn, s ss, z zzz,
// am/pm, a/p, ampm, "/" (the date separator) and ":" (the time separator).
struct TFormatSettings {
    String CurrencyString;
    Byte CurrencyFormat = 0; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    Byte NegCurrFormat = 0;  // 0..15 as the class library numbers them
    Char ThousandSeparator;
    Char DecimalSeparator;
    Byte CurrencyDecimals = 2;
    Char DateSeparator;
    Char TimeSeparator;
    Char ListSeparator;
    String ShortDateFormat;
    String LongDateFormat;
    String TimeAMString;
    String TimePMString;
    String ShortTimeFormat;
    String LongTimeFormat;
    String ShortMonthNames[12];
    String LongMonthNames[12];
    String ShortDayNames[7]; // Sunday first
    String LongDayNames[7];
    Word TwoDigitYearCenturyWindow = 50;

    // The settings of the user's locale, read now.
    static TFormatSettings Create();
    // The settings of a given locale.
    static TFormatSettings Create(const QLocale& Locale);
    // Fixed settings with "." and "," and ISO-like dates, independent of the user.
    static TFormatSettings Invariant();
};

// The global settings: initialised from the user's locale at start-up; programs and tests may
// change them. Every conversion without an explicit settings argument uses them.
extern TFormatSettings FormatSettings;

// The user's locale settings read at each call (not the global above).
Char GetDecimalSeparator();
Char GetThousandSeparator();
Char GetDateSeparator();
Char GetTimeSeparator();
String GetShortDateFormat();
String GetLongDateFormat();
String GetShortTimeFormat();
String GetLongTimeFormat();

// ---------------------------------------------------------------------------------------------
// Integers
// ---------------------------------------------------------------------------------------------
//
// The integer rule: leading blanks skipped, an optional "+" or "-", then decimal digits, or
// hexadecimal digits after a "$", "x", "X", "0x" or "0X" prefix. Any other character (a trailing
// blank included) or an empty text makes the text no integer. Hexadecimal texts may use the whole
// unsigned range of the type ("$FFFFFFFF" is -1 as a 32-bit integer); decimal texts must fit.

// Parses S like Val of the class library: Code is 0 on success, else the 1-based position of the
// first offending character (Length+1 when the text ended too early or overflowed at its end).
// On failure Value holds the value of the digits before the offending character (0 for none).
void Val(const String& S, int& Value, int& Code);
void Val(const String& S, Int64& Value, int& Code);
// Floating-point Val: "." decimal point, optional exponent, no blanks around.
void Val(const String& S, double& Value, int& Code);

String IntToStr64(Int64 Value);
String UIntToStr(uint64_t Value);
template <std::integral T> inline String IntToStr(T Value) {
    if constexpr (std::is_signed_v<T>)
        return IntToStr64(Int64(Value));
    else
        return UIntToStr(uint64_t(Value));
}
template <class T>
requires std::is_enum_v<T>
inline String IntToStr(T Value) {
    return IntToStr64(Int64(Value));
}
// Upper-case hexadecimal, at least Digits digits. A negative value shows its two's complement in
// the width of its type (IntToHex(-1, 2) is "FFFFFFFF" for an int).
String IntToHex64(uint64_t Value, int Digits);
template <std::integral T> inline String IntToHex(T Value, int Digits) {
    using U = std::make_unsigned_t<T>;
    return IntToHex64(uint64_t(U(Value)), Digits);
}

// Raise EConvertError "'<text>' is not a valid integer value".
int StrToInt(const String& S);
Int64 StrToInt64(const String& S);
int StrToIntDef(const String& S, int Default);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt(const String& S, int& Value);
bool TryStrToInt64(const String& S, Int64& Value);

// "True"/"False" (or "-1"/"0" when UseBoolStrs is false); StrToBool accepts those words in any
// case and any integer (0 is false).
String BoolToStr(bool B, bool UseBoolStrs = false);
bool StrToBool(const String& S);
bool StrToBoolDef(const String& S, bool Default);
bool TryStrToBool(const String& S, bool& Value);

// Rounding of the class library: to the nearest integer, ties to the even one.
Int64 Round(double X);
// Towards zero.
Int64 Trunc(double X);

// ---------------------------------------------------------------------------------------------
// Floating point
// ---------------------------------------------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Text to number with the decimal separator of the settings: blanks around the number allowed,
// an optional sign, digits with at most one decimal separator, an optional exponent (E or e, an
// optional sign, digits). No thousand separators. Raises EConvertError
// "'<text>' is not a valid floating point value".
double StrToFloat(const String& S);
double StrToFloat(const String& S, const TFormatSettings& Settings);
double StrToFloatDef(const String& S, double Default);
double StrToFloatDef(const String& S, double Default, const TFormatSettings& Settings);
bool TryStrToFloat(const String& S, double& Value);
bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& Settings);

// General format with 15 significant digits ("0.1", "1E20", "1.5E-7").
String FloatToStr(double Value);
String FloatToStr(double Value, const TFormatSettings& Settings);
// Precision: significant digits (1..18); Digits: decimals for ffFixed/ffNumber/ffCurrency, the
// minimum number of exponent digits for ffGeneral/ffExponent.
String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                   const TFormatSettings& Settings);
// Picture format: "0" digit or zero, "#" digit or nothing, "." decimal separator, "," thousand
// separators, "E+"/"E-"/"e+"/"e-" scientific, '...' and "..." literal text, up to three sections
// separated by ";" for positive, negative and zero values.
String FormatFloat(const String& Format, double Value);
String FormatFloat(const String& Format, double Value, const TFormatSettings& Settings);

// ---------------------------------------------------------------------------------------------
// Format
// ---------------------------------------------------------------------------------------------

// One argument of Format ("array of const" in the class library).
struct TVarRec {
    enum TKind { vtInteger, vtInt64, vtUInt64, vtExtended, vtString, vtChar, vtPointer, vtBoolean };
    TKind VType;
    Int64 VInteger = 0; // vtInteger, vtInt64, vtUInt64 (bits), vtBoolean
    double VExtended = 0;
    String VString; // vtString, vtChar
    const void* VPointer = nullptr;

    TVarRec(bool v) : VType(vtBoolean), VInteger(v) {}
    TVarRec(char v) : VType(vtChar), VString(QChar::fromLatin1(v)) {}
    TVarRec(char16_t v) : VType(vtChar), VString(QChar(v)) {}
    TVarRec(QChar v) : VType(vtChar), VString(v) {}
    TVarRec(signed char v) : VType(vtInteger), VInteger(v) {}
    TVarRec(unsigned char v) : VType(vtInteger), VInteger(v) {}
    TVarRec(short v) : VType(vtInteger), VInteger(v) {}
    TVarRec(unsigned short v) : VType(vtInteger), VInteger(v) {}
    TVarRec(int v) : VType(vtInteger), VInteger(v) {}
    TVarRec(unsigned v) : VType(vtInt64), VInteger(v) {}
    TVarRec(long v) : VType(vtInt64), VInteger(v) {}
    TVarRec(unsigned long v) : VType(vtUInt64), VInteger(Int64(v)) {}
    TVarRec(long long v) : VType(vtInt64), VInteger(v) {}
    TVarRec(unsigned long long v) : VType(vtUInt64), VInteger(Int64(v)) {}
    TVarRec(float v) : VType(vtExtended), VExtended(v) {}
    TVarRec(double v) : VType(vtExtended), VExtended(v) {}
    TVarRec(long double v) : VType(vtExtended), VExtended(double(v)) {}
    TVarRec(const String& v) : VType(vtString), VString(v) {}
    TVarRec(const char* v) : VType(vtString), VString(QString::fromUtf8(v)) {}
    TVarRec(const char16_t* v) : VType(vtString), VString(QString::fromUtf16(v)) {}
    TVarRec(const QByteArray& v) : VType(vtString), VString(QString::fromUtf8(v)) {}
    TVarRec(const std::string& v) : VType(vtString), VString(QString::fromStdString(v)) {}
    TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
    TVarRec(std::nullptr_t) : VType(vtPointer) {}
    template <class E>
    requires std::is_enum_v<E> TVarRec(E v) : VType(vtInteger), VInteger(Int64(v)) {}
};

// Format of the class library: "%" [index ":"] ["-"] [width] ["." precision] type, with the
// types d u x s f g e n m p and "%%"; width and precision may be "*" (taken from the arguments).
// d/u/x: integers (precision = minimum digits, zero-padded; x upper-case hexadecimal);
// s: strings and characters (precision = maximum characters); f g e n m: floating point
// (f/n/m default to 2 decimals, g/e to 15 digits); p: a pointer in hexadecimal.
// A directive whose argument is missing or of another kind, or an unknown directive, raises
// EConvertError "Format '<format>' invalid or incompatible with argument".
String FormatArgs(const String& Fmt, const std::vector<TVarRec>& Args);
String FormatArgs(const String& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& Settings);
inline String Format(const String& Fmt, const std::vector<TVarRec>& Args) {
    return FormatArgs(Fmt, Args);
}
inline String Format(const String& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& Settings) {
    return FormatArgs(Fmt, Args, Settings);
}
template <class... A> inline String Format(const String& Fmt, const A&... Args) {
    return FormatArgs(Fmt, std::vector<TVarRec>{TVarRec(Args)...});
}

// ---------------------------------------------------------------------------------------------
// Strings (1-based positions)
// ---------------------------------------------------------------------------------------------

// Position of Sub in S from 1, 0 when absent or Sub is empty.
int Pos(const String& Sub, const String& S);
// Like Pos, starting at Offset; 0 when Offset is outside 1..Length(S).
int PosEx(const String& Sub, const String& S, int Offset = 1);
// Count characters from Index: Index below 1 counts as 1, Count is clamped to the text.
String Copy(const String& S, int Index, int Count);
// Removes Count characters from Index; nothing when Index is outside 1..Length(S).
void Delete(String& S, int Index, int Count);
// Inserts Source before Index (clamped to 1..Length(S)+1).
void Insert(const String& Source, String& S, int Index);
inline int Length(const String& S) {
    return int(S.size());
}

// Remove characters up to and including the blank (control characters too).
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);

// ASCII letters only.
String UpperCase(const String& S);
String LowerCase(const String& S);
// Every letter.
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);

// Ordinal comparison: < 0, 0, > 0.
int CompareStr(const String& S1, const String& S2);
// Ordinal comparison with ASCII letters compared without regard to case.
int CompareText(const String& S1, const String& S2);
bool SameText(const String& S1, const String& S2);
bool SameStr(const String& S1, const String& S2);
// Comparison of every letter without regard to case (letters fold to one case, then ordinal).
int AnsiCompareText(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);
// Case-sensitive comparison ordering words as a dictionary does: first without regard to case,
// then a lower-case letter before its upper-case form ("a" < "A" < "b").
int AnsiCompareStr(const String& S1, const String& S2);
bool AnsiSameStr(const String& S1, const String& S2);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TEnumSet<TReplaceFlag>;
// Replaces the first (or every, with rfReplaceAll) occurrence of OldPattern; an empty pattern
// changes nothing.
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     const TReplaceFlags& Flags = {});

// 'text' with inner quotes doubled.
String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, Char Quote);
// When Src starts with Quote: returns the quoted text with doubled quotes made single and leaves
// in Src what follows the closing quote (the rest of the text when the quote is not closed).
// Otherwise returns "" and leaves Src as it is.
String AnsiExtractQuotedStr(String& Src, Char Quote);
// The unquoted text when S is quoted with Quote, else S.
String AnsiDequotedStr(const String& S, Char Quote);

String StringOfChar(Char Ch, int Count);
// Whether S[Index] (1-based) is one of Delimiters.
bool IsDelimiter(const String& Delimiters, const String& S, int Index);
// 1-based position of the last character of S that is one of Delimiters, 0 for none.
int LastDelimiter(const String& Delimiters, const String& S);

// [[noreturn]] raise of EAbort, the silent exception.
[[noreturn]] void Abort();

// ---------------------------------------------------------------------------------------------
// Files and folders. Paths may use "\" or "/" as separators; every function accepts both.
// ---------------------------------------------------------------------------------------------

constexpr Char PathDelim = u'/';
constexpr Char DriveDelim = u'\0';
constexpr Char PathSep = u':';

// The path with every "\" turned into "/" (what the file system here expects).
String NativePath(const String& Path);

bool FileExists(const String& FileName); // a file, not a folder
bool DirectoryExists(const String& Directory);
bool ForceDirectories(const String& Dir); // creates every missing level; false on failure
bool CreateDir(const String& Dir);        // one level
bool RemoveDir(const String& Dir);        // an empty folder
bool DeleteFile(const String& FileName);
bool RenameFile(const String& OldName, const String& NewName);
String GetCurrentDir();
bool SetCurrentDir(const String& Dir);
String ExpandFileName(const String& FileName);
Int64 FileSize(const String& FileName); // -1 when the file does not exist

// Path parts; a separator is "\" or "/".
String ExtractFilePath(const String& FileName); // with the trailing separator
String ExtractFileDir(const String& FileName);  // without it (but "/" stays "/")
String ExtractFileName(const String& FileName);
String ExtractFileExt(const String& FileName); // ".ext" or ""
String ChangeFileExt(const String& FileName, const String& Extension);
// Appends a separator unless there is one; the path's own separator style is kept ("\" when the
// path uses only "\", else "/").
String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);
inline String IncludeTrailingBackslash(const String& S) {
    return IncludeTrailingPathDelimiter(S);
}
inline String ExcludeTrailingBackslash(const String& S) {
    return ExcludeTrailingPathDelimiter(S);
}

// File attributes as the platform reports them.
constexpr int faReadOnly = 0x00000001;
constexpr int faHidden = 0x00000002; // names starting with "."
constexpr int faSysFile = 0x00000004;
constexpr int faVolumeID = 0x00000008;
constexpr int faDirectory = 0x00000010;
constexpr int faArchive = 0x00000020; // every regular file
constexpr int faNormal = 0x00000080;
constexpr int faTemporary = 0x00000100;
constexpr int faSymLink = 0x00000400;
constexpr int faCompressed = 0x00000800;
constexpr int faEncrypted = 0x00004000;
constexpr int faAnyFile = 0x000001FF;

// ---------------------------------------------------------------------------------------------
// Dates and times: TDateTime counts days since 1899-12-30, the time as the fraction of the day.
// ---------------------------------------------------------------------------------------------

using TDateTime = double;

TDateTime Now();
TDateTime Date();
TDateTime Time();

// Invalid parts raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(Word Year, Word Month, Word Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
int DayOfWeek(TDateTime Date); // 1 = Sunday .. 7 = Saturday
bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);
// Steps whole months; a day past the end of the target month becomes its last day.
TDateTime IncMonth(TDateTime Date, int NumberOfMonths = 1);

TDateTime QDateTimeToDateTime(const QDateTime& DT);
QDateTime DateTimeToQDateTime(TDateTime DT);

// Formatting with the class library's pattern letters (see TFormatSettings); "c" is the short
// date followed by the long time (time left out at midnight), "t"/"tt" the short/long time,
// "ddddd"/"dddddd" the short/long date.
String FormatDateTime(const String& Format, TDateTime DateTime);
String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& Settings);
String DateToStr(TDateTime Date);         // ShortDateFormat
String TimeToStr(TDateTime Time);         // LongTimeFormat
String DateTimeToStr(TDateTime DateTime); // "c"
String DateToStr(TDateTime Date, const TFormatSettings& Settings);
String TimeToStr(TDateTime Time, const TFormatSettings& Settings);
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings);

// Parsing: a date is two or three numbers separated by the date separator, in the order of
// ShortDateFormat (a missing year is the current one; a two-digit year falls in the century
// window); a time is hours, minutes and optional seconds and milliseconds separated by the time
// separator, with an optional AM/PM marker. Raise EConvertError "'<text>' is not a valid date"
// (time, date and time).
TDateTime StrToDate(const String& S);
TDateTime StrToTime(const String& S);
TDateTime StrToDateTime(const String& S);
TDateTime StrToDate(const String& S, const TFormatSettings& Settings);
TDateTime StrToTime(const String& S, const TFormatSettings& Settings);
TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings);
bool TryStrToDate(const String& S, TDateTime& Value);
bool TryStrToTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value);
bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings);
TDateTime StrToDateDef(const String& S, TDateTime Default);
TDateTime StrToTimeDef(const String& S, TDateTime Default);
TDateTime StrToDateTimeDef(const String& S, TDateTime Default);

// ---------------------------------------------------------------------------------------------
// Directory listing
// ---------------------------------------------------------------------------------------------

struct TSearchRecData;

struct TSearchRec {
    TDateTime TimeStamp = 0; // last modification, local time
    Int64 Size = 0;
    int Attr = 0;
    String Name;
    int ExcludeAttr = 0;
    std::shared_ptr<TSearchRecData> FindHandle;
};

// Lists the entries of the folder of Path matching its name part ("*" and "?" wildcards, "*.*"
// matches every name). An entry is returned unless it has one of the special attributes
// faHidden, faSysFile, faVolumeID, faDirectory that Attr does not include. "." and ".." are
// returned for directories when Attr includes faDirectory. Returns 0 with the first entry in F,
// else an error number (2 for nothing found).
int FindFirst(const String& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// ---------------------------------------------------------------------------------------------
// Processes, time and sound
// ---------------------------------------------------------------------------------------------

// Milliseconds since an arbitrary start, monotonic (wraps after 49.7 days like the original).
Cardinal GetTickCount();
uint64_t GetTickCount64();
// Blocks the calling thread.
void Sleep(Cardinal Milliseconds);
// The default message beep: QApplication::beep when a GUI application exists, else nothing.
bool MessageBeep(Cardinal Type = 0);
// Program arguments: ParamStr(0) is the executable's full path.
int ParamCount();
String ParamStr(int Index);
// Text of an OS error number (errno).
String SysErrorMessage(int ErrorCode);

// ---------------------------------------------------------------------------------------------
// Windows-1252 text codec ("the system code page" of text files)
// ---------------------------------------------------------------------------------------------

// Bytes to text; every byte maps to a character (the five undefined bytes of the code page map to
// the control characters of the same number, as the platform does).
String FromWin1252(const QByteArray& Bytes);
// Text to bytes; a character the code page lacks is written as "?" and reported through
// Lossless (false), which is true otherwise.
QByteArray ToWin1252(const String& S, bool* Lossless = nullptr);
