// The program's version and the check for a newer one on the maker's web site.
//
// The version-check page answers "VER. " followed by the newest version of the software code
// it was asked for ("VER. 0.000": no version known). A version is written as one digit, a point
// and three digits and compares as the number of its four digits ("1.000" is 1000).
#pragma once

#include "System.h"

class THttpClient;

// The program's own version.
extern const String SW_Version; // "1.000"
// The code of the printed manual, shown by the about box.
extern const String SW_Manual_Code; // "UM40210"

// The maker's web site (scheme and host, no trailing "/"); the pages below are on it. Tests
// point it at a server of their own.
extern String Maker_Site;
// The address shown to the user for the maker's web site.
extern const String Maker_Site_Caption;

// The maker's home page (path "/HOME/default.asp", query "frompg=" + the software code).
String Home_Page_URL();
// The download page of this converter (path "/Home/download/download.asp", fragment "#GW40210").
String Download_Page_URL();
// The version-check page, asked with the query key "nomesw" set to SW_Code_Update.
String Version_Check_URL();

// Sets up HTTP as the version check sends its request: HTTP/1.0, no cookies, the Accept and
// User-Agent headers of the check, and time-outs of a few seconds.
void Setup_Version_Client(THttpClient* HTTP);

// Version text to number: the text after the first blank (all of it without a blank), trimmed;
// the four characters at positions 1, 3, 4 and 5 read as an integer; -1 when the text is shorter
// than five characters or those characters are no integer.
int Conv_Version(const String& Ver_str);

// Whether a reply of the version-check page names a newer version than SW_Version.
bool Is_Newer_Version(const String& Reply);

// Asks the version-check page through HTTP; true when it names a newer version. No reply, an
// error status or an unreadable reply give false, without a message.
bool Check_Version(THttpClient* HTTP);
