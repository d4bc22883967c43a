#include "common/Suche.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "common/Text.h"

namespace lw {
namespace {

// Thirty-two bytes compared at once; the compiler makes of it what the
// machine has: one AVX2 step, two SSE2 steps, or bytes one by one.
using Block = char __attribute__((vector_size(32)));

// Bit j for every byte j of a comparison's result that is set.
struct BitsEinzeln {
    static std::uint32_t Von(const Block& b) {
        std::uint32_t bits = 0;
        for (std::size_t j = 0; j < sizeof b; ++j)
            if (b[j]) bits |= std::uint32_t{1} << j;
        return bits;
    }
};
#if defined(__x86_64__)
struct BitsSse2 {
    static std::uint32_t Von(const Block& b) {
        __m128i haelften[2];
        std::memcpy(haelften, &b, sizeof b);
        return static_cast<std::uint32_t>(_mm_movemask_epi8(haelften[0])) |
               static_cast<std::uint32_t>(_mm_movemask_epi8(haelften[1])) << 16;
    }
};
struct BitsAvx2 {
    [[gnu::target("avx2")]] static std::uint32_t Von(const Block& b) {
        return static_cast<std::uint32_t>(
            _mm256_movemask_epi8(reinterpret_cast<const __m256i&>(b)));
    }
};
#endif

// The first place from i on where one of the N texts begins, npos when there
// is none before the last block; i is then where the rest begins. Three bytes
// of each text sift the places before eine(p) compares in full. With
// kOhneFall the bytes are compared with their 0x20 bit set, which keeps every
// letter of either case and lets a few other bytes through to eine. N is
// fixed so that the sieve stays in registers.
template <class Bits, bool kOhneFall, std::size_t N, class Eine>
[[gnu::always_inline]] inline std::size_t Sieben(std::string_view t, std::size_t& i,
                                                 const std::string_view (&texte)[N],
                                                 const Eine& eine) {
    constexpr std::size_t kBreite = sizeof(Block);
    const auto falz = [](char c) { return static_cast<char>(kOhneFall ? c | 0x20 : c); };
    // Blocks are passed by reference: a block passed by value would change
    // the calling convention between the AVX2 and the plain build.
    const auto laden = [&t](std::size_t p, Block& b) {
        std::memcpy(&b, t.data() + p, sizeof b);
        if constexpr (kOhneFall) b |= 0x20;
    };
    // The first, a middle and the last byte: two bytes of a short text let
    // through too many places of ordinary words.
    Block erste[N], mitte[N], letzte[N];
    std::size_t versatzMitte[N], versatz[N], laengste = 0;
    for (std::size_t s = 0; s < N; ++s) {
        erste[s] = Block{} + falz(texte[s].front());
        mitte[s] = Block{} + falz(texte[s][texte[s].size() / 2]);
        letzte[s] = Block{} + falz(texte[s].back());
        versatzMitte[s] = texte[s].size() / 2;
        versatz[s] = texte[s].size() - 1;
        laengste = std::max(laengste, texte[s].size());
    }
    // The place in a local: one kept in the caller's memory would be stored
    // at every step.
    std::size_t p = i;
    for (; p + kBreite + laengste - 1 <= t.size(); p += kBreite) {
        Block block, b1, b2;
        laden(p, block);
        Block treffer = {};
        for (std::size_t s = 0; s < N; ++s) {
            laden(p + versatzMitte[s], b1);
            laden(p + versatz[s], b2);
            treffer |=
                reinterpret_cast<Block>((block == erste[s]) & (b1 == mitte[s]) & (b2 == letzte[s]));
        }
        for (std::uint32_t bits = Bits::Von(treffer); bits != 0; bits &= bits - 1) {
            const std::size_t q = p + static_cast<std::size_t>(std::countr_zero(bits));
            if (eine(q)) return q;
        }
    }
    i = p;
    return std::string_view::npos;
}

#if defined(__x86_64__)
template <bool kOhneFall, std::size_t N, class Eine>
[[gnu::target("avx2")]] std::size_t SiebenAvx2(std::string_view t, std::size_t& i,
                                               const std::string_view (&texte)[N],
                                               const Eine& eine) {
    return Sieben<BitsAvx2, kOhneFall>(t, i, texte, eine);
}
#endif

SuchWeg gewaehlterWeg = BesterSuchWeg();  // see SuchWegSetzen

// The first place at or after ab where one of the texts begins, as Finden of
// Suche and of one text look for it; eine(p) compares in full.
template <bool kOhneFall, std::size_t N, class Eine>
std::size_t Durchsuchen(std::string_view t, std::size_t ab, const std::string_view (&texte)[N],
                        const Eine& eine) {
    std::size_t i = ab;
    std::size_t p = std::string_view::npos;
    switch (gewaehlterWeg) {
#if defined(__x86_64__)
        case SuchWeg::Avx2:
            p = SiebenAvx2<kOhneFall>(t, i, texte, eine);
            break;
        case SuchWeg::Sse2:
            p = Sieben<BitsSse2, kOhneFall>(t, i, texte, eine);
            break;
#else
        case SuchWeg::Avx2:
        case SuchWeg::Sse2:
#endif
        case SuchWeg::Einzeln:
            p = Sieben<BitsEinzeln, kOhneFall>(t, i, texte, eine);
            break;
    }
    if (p != std::string_view::npos) return p;
    for (; i < t.size(); ++i)
        if (eine(i)) return i;
    return std::string_view::npos;
}

}  // namespace

SuchWeg BesterSuchWeg() {
#if defined(__x86_64__)
    // Asked while the program's statics are made, perhaps before the
    // runtime's own look at the processor.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? SuchWeg::Avx2 : SuchWeg::Sse2;
#else
    return SuchWeg::Einzeln;
#endif
}

void SuchWegSetzen(SuchWeg weg) {
    gewaehlterWeg = weg;
}

Suche::Suche(std::vector<std::string> texte, bool ohneFall)
    : texte_(std::move(texte)), ohneFall_(ohneFall) {}

bool Suche::Passt(std::string_view t, std::size_t p, const std::string& text) const {
    const std::string_view hier = t.substr(p, text.size());
    return ohneFall_ ? GleichOhneFallAscii(hier, text) : hier == text;
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
