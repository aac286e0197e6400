// The windows' form descriptions, compiled in from Unit1.dfm and Unit2.dfm.
#pragma once

extern const char* const kUnit1Description;
extern const char* const kUnit2Description;
