#include "common/Suche.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace lw {
namespace {

char Klein(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The places at or after ab where one of the N texts could begin, as Finden
// of Suche and of one text look for them: eine(p) compares in full and says
// whether one begins at p. Two bytes of each text, its first and its last,
// sift the places first, 32 at a time. With kOhneFall the bytes are compared
// with their 0x20 bit set, which keeps every letter of either case and lets
// a few other bytes through to eine. N is fixed so that the sieve stays in
// registers.
template <bool kOhneFall, std::size_t N, class Eine>
std::size_t Durchsuchen(std::string_view t, std::size_t ab, const std::string_view (&texte)[N],
                        Eine eine) {
    const std::size_t n = t.size();
    std::size_t i = ab;
#if defined(__SSE2__)
    const auto falz = [](char c) { return static_cast<char>(kOhneFall ? c | 0x20 : c); };
    const auto laden = [&t](std::size_t p) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + p));
        return kOhneFall ? _mm_or_si128(v, _mm_set1_epi8(0x20)) : v;
    };
    __m128i erste[N], letzte[N];
    std::size_t versatz[N], laengste = 0;
    for (std::size_t s = 0; s < N; ++s) {
        erste[s] = _mm_set1_epi8(falz(texte[s].front()));
        letzte[s] = _mm_set1_epi8(falz(texte[s].back()));
        versatz[s] = texte[s].size() - 1;
        laengste = std::max(laengste, texte[s].size());
    }
    const auto sieben = [&](std::size_t p) {
        const __m128i block = laden(p);
        __m128i treffer = _mm_setzero_si128();
        for (std::size_t s = 0; s < N; ++s)
            treffer = _mm_or_si128(treffer,
                                   _mm_and_si128(_mm_cmpeq_epi8(block, erste[s]),
                                                 _mm_cmpeq_epi8(laden(p + versatz[s]), letzte[s])));
        return static_cast<unsigned>(_mm_movemask_epi8(treffer));
    };
    constexpr std::size_t kBreite = 32;
    for (; i + kBreite + laengste - 1 <= n; i += kBreite) {
        for (unsigned maske = sieben(i) | sieben(i + 16) << 16; maske != 0; maske &= maske - 1) {
            const std::size_t p = i + static_cast<std::size_t>(std::countr_zero(maske));
            if (eine(p)) return p;
        }
    }
#endif
    for (; i < n; ++i)
        if (eine(i)) return i;
    return std::string_view::npos;
}

}  // namespace

Suche::Suche(std::vector<std::string> texte, bool ohneFall)
    : texte_(std::move(texte)), ohneFall_(ohneFall) {}

bool Suche::Passt(std::string_view t, std::size_t p, const std::string& text) const {
    if (t.size() - p < text.size()) return false;
    if (!ohneFall_) return std::memcmp(t.data() + p, text.data(), text.size()) == 0;
    for (std::size_t j = 0; j < text.size(); ++j)
        if (Klein(t[p + j]) != Klein(text[j])) return false;
    return true;
}

std::size_t Suche::Finden(std::string_view t, std::size_t ab) const {
    if (ab >= t.size()) return std::string_view::npos;
    const auto eine = [&](std::size_t p) {
        return std::any_of(texte_.begin(), texte_.end(),
                           [&](const std::string& text) { return Passt(t, p, text); });
    };
    const auto mit = [&]<std::size_t... k>(std::index_sequence<k...>) {
        const std::string_view texte[] = {texte_[k]...};
        return ohneFall_ ? Durchsuchen<true>(t, ab, texte, eine)
                         : Durchsuchen<false>(t, ab, texte, eine);
    };
    switch (texte_.size()) {
        case 1:
            return mit(std::make_index_sequence<1>());
        case 2:
            return mit(std::make_index_sequence<2>());
        case 3:
            return mit(std::make_index_sequence<3>());
        case 4:
            return mit(std::make_index_sequence<4>());
        default: {
            // More than the sieve takes: every place is compared.
            for (std::size_t p = ab; p < t.size(); ++p)
                if (eine(p)) return p;
            return std::string_view::npos;
        }
    }
}

std::size_t Finden(std::string_view t, std::string_view x, std::size_t ab) {
    if (ab > t.size() || x.size() > t.size() - ab) return std::string_view::npos;
    if (x.empty()) return ab;
    const std::string_view texte[] = {x};
    return Durchsuchen<false>(t, ab, texte, [&](std::size_t p) {
        return t.size() - p >= x.size() && std::memcmp(t.data() + p, x.data(), x.size()) == 0;
    });
}

}  // namespace lw
