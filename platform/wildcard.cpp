#include "platform/wildcard.h"

namespace velmora::platform {
namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchFrom(std::string_view wildcard, std::string_view name) {
    // Iterative matcher with single-star backtracking: linear in practice and
    // never recursive, whatever the pattern.
    size_t w = 0, n = 0;
    size_t starW = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (w < wildcard.size() &&
            (wildcard[w] == '?' || FoldCase(wildcard[w]) == FoldCase(name[n])) &&
            wildcard[w] != '*') {
            ++w;
            ++n;
        } else if (w < wildcard.size() && wildcard[w] == '*') {
            starW = w++;
            starN = n;
        } else if (starW != std::string_view::npos) {
            w = starW + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == '*') {
        ++w;
    }
    return w == wildcard.size();
}

}  // namespace

bool MatchesWildcard(std::string_view wildcard, std::string_view name) {
    if (MatchFrom(wildcard, name)) {
        return true;
    }
    // "x.*" also matches "x": the extension part may be absent altogether.
    if (wildcard.size() >= 2 && wildcard.substr(wildcard.size() - 2) == ".*") {
        return MatchFrom(wildcard.substr(0, wildcard.size() - 2), name);
    }
    return false;
}

}  // namespace velmora::platform
