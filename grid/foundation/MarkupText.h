// Text routines on cell markup: character references, the attributes of embedded <CONTROL> tags,
// markup to plain text, and wrapping search hits in highlight tags.
//
// None of them draws and none raises on malformed markup: a tag without its closing ">" is read up
// to the end of the text. IDs of controls are compared exactly.
#pragma once

#include "System.h"

// Replaces "&lt;", "&gt;", "&amp;" and "&quot;" (in this order, one level each); with Special,
// then also the named accented and special characters of the markup's entity table.
String DecodeHTMLEntities(const String& S, bool Special);

// Replaces "&" by "&amp;" (a "*amp;" already in the text becomes "&amp;" as well), then the double
// quote, "<" and ">" by their references; with Special also the characters of the entity table.
String EncodeHTMLEntities(const String& S, bool Special);

// Every blank becomes "&nbsp;".
String SpacesToNbsp(const String& S);

// True when the markup holds a "<CONTROL" tag (any case).
bool HasHTMLControl(const String& HTML);

// The ID of the first control after the one with the given ID (the first control of the markup
// when ID is empty) whose TYPE is not BUTTON, CHECK or RADIO; empty when there is none.
String NextHTMLEditControl(const String& HTML, const String& ID);

// Every RADIO control of the markup gets the VALUE "FALSE".
String ClearHTMLRadioControls(const String& HTML);

// VALUE (decoded) of the first control with that ID; false when there is none.
bool GetHTMLControlValue(const String& HTML, const String& ID, String& Value);

// PROP (decoded) of the first control with that ID; empty when there is none.
String GetHTMLControlProp(const String& HTML, const String& ID);

// MAXLEN of the first control with that ID, read as its leading integer; 0 when absent or empty.
int GetHTMLControlMaxLen(const String& HTML, const String& ID);

// Rewrites the first control with that ID with the new VALUE, keeping its ID, WIDTH, TYPE and,
// when present, PROP, MAXLEN and HEIGHT; false and the markup unchanged when there is none.
bool SetHTMLControlValue(String& HTML, const String& ID, const String& Value);

// Plain text of markup: "<BR>" and "<HR>" (any case) become CR LF, every other tag is removed; from
// a "<" without a ">" after it the rest is kept as it stands. References are not decoded.
String HTMLToText(const String& HTML);

// Wraps every hit of Text in the visible text of the markup in "<Tag>" ... "</Tag>", inserting
// the tags at the matching positions of the markup (so they may cross other tags).
String HighlightInHTML(const String& HTML, const String& Text, const String& Tag, bool DoCase);

// Removes every "<Tag>" and "</Tag>" (any case), then turns "&lt;" and "&gt;" into "<" and ">".
String UnhighlightInHTML(const String& HTML, const String& Tag);

// --- shared with the markup renderer -----------------------------------------------------------

// The attributes of one <CONTROL> tag as the routines above read them: TYPE upper-cased, VALUE and
// PROP decoded, the others as written. The Has* flags tell which attributes the tag holds.
struct THTMLControlTag {
    String Type, ID, Value, Width, Height, MaxLen, Prop;
    bool HasHeight = false, HasMaxLen = false, HasProp = false, HasWidth = false;
};

// Finds the attribute Name (upper case, without "=") in a tag and reads its value. UpTag is the
// tag upper-cased with MarkupUpper; the value is taken from Tag at the same place. The name counts
// only outside quoted values, as a whole word followed by "=" (blanks allowed around it); the
// value is the text between the next two double quotes, or an unquoted word.
bool FindHTMLAttribute(const String& Tag, const String& UpTag, const char* Name, String& Value);

// Reads the attributes of the control tag text Tag (from "<" up to and including ">" when there
// is one).
THTMLControlTag ParseHTMLControlTag(const String& Tag);

// Reads the leading integer of a text the way attribute values are read: leading blanks skipped,
// an optional sign, decimal digits or hexadecimal ones after "$" or "0x"; the rest is ignored.
// Ok tells whether any digit was read; the result is 0 otherwise and saturates on overflow.
int MarkupLeadingInt(const String& S, bool* Ok = nullptr);

// Upper-cases character by character, so that positions in the result match the source.
String MarkupUpper(const String& S);
