// Stateless text routines of the grid: what kind of text a cell holds, numbers and dates read by
// the user's locale (fetched at each call), the escapes of the grid's file and clipboard formats,
// packed wide text, the clipboard HTML header, capitalisation, filter conditions and links.
//
// Routines that transform a text take it by value and answer the new text (`S = CRToLF(S)`);
// routines that cut something out of a text take it by reference. None keeps state, and none
// raises on ordinary input except the date routines named below.
#pragma once

#include "SysUtils.h"
#include "System.h"
#include "Types.h"

class TStrings;

// ---- Text kinds and numbers ----

// Cell text kinds.
constexpr int ctkPlain = 0;
constexpr int ctkMarkup = 1;
constexpr int ctkRTF = 2;
constexpr int ctkFormula = 3;
constexpr int ctkPackedWide = 5;

// 0 plain, 1 markup (only when AllowMarkup and the text holds "</", "<B", "<I" or "<C"), 2 RTF
// ("{\"), 3 formula ("=", or a packed text whose first packed character is "="), 5 packed wide text.
int CellTextType(const String& Text, bool AllowMarkup);

// Number kinds.
constexpr int ntkInteger = 0;
constexpr int ntkFloat = 1;
constexpr int ntkNone = 2;
constexpr int ntkScientific = 5;

// 0 integer, 1 floating point (locale separators), 2 not a number (also empty), 5 scientific.
int NumericTextType(const String& S);
bool IsNumChar(Char Ch);
// A formatted number ("(1.234,50)", "$ 12") as a text that the "." number conversion reads.
String NormalizeFloatText(const String& Text);
// "RRGGBB" in upper-case hexadecimal (system colours resolved first).
String ColorToHTMLHex(TColor Color);
// Equal bounds: Value unchanged; otherwise a bound of 0 or less means no bound.
int ClampToLimits(int Value, int Lower, int Upper);
int IntMax(int A, int B);
int IntMin(int A, int B);

// ---- Dates ----

// Reads a date (and an optional time after a blank) in the order and separators of the user's
// short date format. False for anything that is not a valid date-time; Value is still set when
// only the time part lacks a separator.
bool ParseLocaleDateTime(const String& Text, TDateTime& Value);
// month/day/year and day/month/year with "/", "." or "-"; the year v becomes 2000 + v when it is at
// most 25, else 1900 + v. 0 when the text is no such date; raises EConvertError for an
// impossible day or month.
TDateTime ParseDateUS(const String& S);
TDateTime ParseDateEU(const String& S);
// The locale's date separator at position 2 or later, and again later but not right after it.
bool IsDateText(const String& Text);
// The next date of a series: only Days: + Days; only Years: same month and day Years later;
// only Months: Months later (at most one year either way); else + Increment. The time of day is
// kept. Raises EConvertError for a day the target month lacks or a month step out of range.
TDateTime IncDateParts(int Years, int Months, int Days, double Increment, TDateTime Date);

// ---- Line breaks, quotes and escapes ----

String EscapeDoubleQuotes(const String& Text);
// Each doubled occurrence of Ch becomes one; a single Ch stays.
String UndoubleChar(Char Ch, const String& Text);
// CR LF -> character 11, then the text in double quotes.
String CSVQuoteMultiLine(const String& Text);
// Character 11 -> CR LF.
String VTabToCRLF(const String& Text);
String CRLFToLF(const String& Text);
String RemoveCR(const String& Text);
String CRToLF(const String& Text);
// CR -> "~", LF dropped.
String LineBreaksToTilde(const String& Text);
// "~" -> CR LF; the text "^" becomes empty.
String TildeToLineBreaks(const String& Text);
// CR -> "<br>" (LF kept).
String LineBreaksToBR(const String& Text);
// CR -> the two characters "\n", LF dropped.
String EncodeLineEscapes(const String& Text);
// "\n" -> CR.
String DecodeLineEscapes(const String& Text);
// Only when the text holds a CR: CR -> 9, LF -> 8, 0 -> 1.
String EncodeLineBreaksForSave(const String& Text);
// Only when the text holds character 8: 9 -> CR, 8 -> LF, 1 -> 0. Without MultiLine only the
// first line is answered.
String DecodeLineBreaksFromSave(const String& Text, bool MultiLine);
// The text before the first CR (the CR and a LF right after it are dropped). The rest stays in
// Text when KeepRest, else Text is emptied; without CR the whole text is answered and Text emptied.
String CutFirstLine(String& Text, bool KeepRest);
// Number of CRs + 1 with MultiLine, else 1.
int CountLines(const String& Text, bool MultiLine);
// 1-based position of the character ending the first run of Ch of odd length that has another
// character after it, or of a Ch that is the last character (a run reaching the end counts
// whatever its length); 0 when none.
int ClosingQuotePos(Char Ch, const String& Text);
int ClosingQuotePos(Char Ch, const String& Text, int& Pos);
// How often ClosingQuotePos finds a position when the text is cut after each find.
int CountClosingQuotes(Char Ch, const String& Text);
int CountChar(Char Ch, const String& Text);
// A text of the same length made of Ch only.
String FillChars(const String& Text, Char Ch);
// To and from the OEM code page (437): each OEM byte is held as the character of that code.
String StringToOem(const String& Text);
String OemToString(const String& Text);

// ---- Wide text ----

// "|\" followed by two characters per UTF-16 code unit, high byte first.
String PackWideText(const String& Value);
// Packed text unpacked; any other text unchanged.
String UnpackWideText(const String& Text);
int WidePos(const String& Sub, const String& S);

// ---- Other text routines ----

// Position of Sub (given in upper case) in the upper-cased Text; 0 when absent.
int UpperCasePos(const String& Sub, const String& Text);
int CharPos(Char Ch, const String& Text);
// As CharPos, the position (0 when absent) also written to Pos.
int CharPosVar(Char Ch, const String& Text, int& Pos);
// 1-based position of Sub in S, also written to Pos (0 when absent).
int PosVar(const String& Sub, const String& S, int& Pos);
// The text before the first Delim, removed from Source together with Delim; empty and Source
// unchanged when Delim does not occur.
String CutToken(String& Source, const String& Delim);
String ConcatLines(TStrings* Lines);
// Column and row inside the grid rectangle (Left/Top/Right/Bottom, bounds included).
bool CellInGridRect(int ACol, int ARow, const TRect& R);
// "R<row>C<column>" (any case, longer than 3 characters) into X = column, Y = row.
bool ParseRCCellRef(const String& Text, TPoint& P);

// ---- Clipboard, capitalisation, filters and links ----

// The fragment in the platform's HTML clipboard format (header with character offsets).
String BuildClipboardHTML(const String& Fragment);
// First letter of every word upper case, the rest lower case; "Mc" names and a final roman
// numeral I, II or III keep their capitals.
String ToMixedCase(const String& Text);
// Evaluates a filter condition ("&" and, "|" ";" "^" or, groups in parentheses, comparisons
// with > >= < <=, patterns with * ? and !) against a value. An empty condition matches every value.
bool MatchFilterCondition(const String& Condition, const String& Value, bool CaseSensitive);
// One term of a condition: a comparison or a pattern over the whole value ("*" any run, "?" one
// character, quotes ignored, "!" negates the rest). A pattern is matched in time proportional to
// its length times the value's at worst, however many stars it holds.
bool MatchFilterTerm(const String& Term, const String& Value);
// The text contains "://" or "mailto:".
bool IsURL(const String& Text);
// Everything up to and including the first "://", or else the first "mailto:", removed.
String StripURLScheme(const String& Text);
// When the upper-cased text contains Prefix (upper case): "<" and ">" escaped, and the link that
// starts at the prefix wrapped in <a href="URL">URL</a>; answers true and sets Result.
bool MakeURLAnchor(const String& Text, const String& Prefix, String& Result);
