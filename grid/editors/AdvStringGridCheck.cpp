#include "AdvStringGridCheck.h"

String TAdvStringGridCheck::MarkError(int, int, const String& S) {
    return S;
}

String TAdvStringGridCheck::Correct(int, int, const String& S) {
    return S;
}
