#pragma once
#include <string>
#include <vector>

// The small pattern language used to pick values out of HTTP response headers.
//
// Matching ignores case (captures keep the text's own case). Braces make capturing groups,
// parentheses group without capturing, "|" separates alternatives, "[...]" is a set (ranges,
// "^" negation, "\" makes the next character literal, "\t" is a tab), "." is any character,
// "*", "+" and "?" are greedy and lazy when followed by "?". Outside sets, "\a \b \c \d \h
// \n \q \w \z" stand for sub-patterns (letters and digits, blanks, letters, digits, hex
// digits, a line end, a quoted run, a word, a number); "\" before another non-digit
// character matches it literally.
//
// Fills captures with the distinct texts (ignoring case) of the first group over every
// leftmost, non-overlapping match, in order. Returns false (with no captures) only when the
// pattern or the text is empty, the pattern is not valid (groups nested deeper than 100 levels
// count as not valid), or the text is too long for the pattern to be matched within the
// call's memory budget (about 64 MiB of bookkeeping; far beyond what headers need).
bool ParseRegExp(const std::wstring& pattern, const std::wstring& text,
                 std::vector<std::wstring>& captures);
