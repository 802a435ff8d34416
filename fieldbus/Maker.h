// The maker's details that the description files carry (the PROFIBUS GSD header, the SNMP MIB
// module identity): one place for all of them.
#pragma once

namespace Maker {

inline constexpr const char* Name = "Ostrel";
inline constexpr const char* Street = "Via delle Fonderie 21";
inline constexpr const char* Postcode_Town = "00421 Borgo Velmora";
inline constexpr const char* Province = "VL";
inline constexpr const char* Country = "Italy";
inline constexpr const char* Phone = "+39 012 3456789";
inline constexpr const char* Fax = "+39 012 3456790";
inline constexpr const char* Mail_Domain = "ostrel.example";
inline constexpr const char* Mail = "support@ostrel.example";
inline constexpr const char* Web = "www.ostrel.example";
// The enterprise number under which the SNMP objects live: 32473 is the one reserved for
// documentation and examples, as the maker and its address are fictional.
inline constexpr int Enterprise_Number = 32473;

} // namespace Maker
