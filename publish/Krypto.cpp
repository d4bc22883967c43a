#include "publish/Krypto.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

#include "common/Bibliothek.h"
#include "common/Fehler.h"

namespace lw {
namespace {

struct Crypto {
    decltype(&EVP_MD_CTX_new) md_ctx_new = nullptr;
    decltype(&EVP_MD_CTX_free) md_ctx_free = nullptr;
    decltype(&EVP_sha256) sha256 = nullptr;
    decltype(&EVP_DigestInit_ex) digest_init = nullptr;
    decltype(&EVP_DigestUpdate) digest_update = nullptr;
    decltype(&EVP_DigestFinal_ex) digest_final = nullptr;
    decltype(&EVP_EncodeBlock) encode_block = nullptr;
    decltype(&EVP_DecodeBlock) decode_block = nullptr;
    decltype(&d2i_X509) d2i_x509 = nullptr;
    decltype(&X509_get_X509_PUBKEY) get_pubkey = nullptr;
    decltype(&i2d_X509_PUBKEY) i2d_pubkey = nullptr;
    decltype(&X509_free) x509_free = nullptr;
};

const Crypto& CryptoLaden() {
    static const Crypto* const geladen = []() -> const Crypto* {
        void* b = ::dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL);
        if (!b) return nullptr;
        static Crypto c;
        if (!Holen(b, "EVP_MD_CTX_new", c.md_ctx_new) ||
            !Holen(b, "EVP_MD_CTX_free", c.md_ctx_free) || !Holen(b, "EVP_sha256", c.sha256) ||
            !Holen(b, "EVP_DigestInit_ex", c.digest_init) ||
            !Holen(b, "EVP_DigestUpdate", c.digest_update) ||
            !Holen(b, "EVP_DigestFinal_ex", c.digest_final) ||
            !Holen(b, "EVP_EncodeBlock", c.encode_block) ||
            !Holen(b, "EVP_DecodeBlock", c.decode_block) || !Holen(b, "d2i_X509", c.d2i_x509) ||
            !Holen(b, "X509_get_X509_PUBKEY", c.get_pubkey) ||
            !Holen(b, "i2d_X509_PUBKEY", c.i2d_pubkey) || !Holen(b, "X509_free", c.x509_free))
            return nullptr;
        return &c;
    }();
    if (!geladen) throw Fehler("Die Bibliothek libcrypto kann nicht geladen werden");
    return *geladen;
}

}  // namespace

Sha256::Sha256() {
    const Crypto& c = CryptoLaden();
    EVP_MD_CTX* ctx = c.md_ctx_new();
    if (!ctx || c.digest_init(ctx, c.sha256(), nullptr) != 1) {
        if (ctx) c.md_ctx_free(ctx);
        throw Fehler("SHA-256 steht nicht zur Verf\xfcgung");
    }
    ctx_ = ctx;
}

Sha256::~Sha256() {
    CryptoLaden().md_ctx_free(static_cast<EVP_MD_CTX*>(ctx_));
}

void Sha256::Dazu(const char* daten, std::size_t n) {
    CryptoLaden().digest_update(static_cast<EVP_MD_CTX*>(ctx_), daten, n);
}

std::string Sha256::Ende() {
    unsigned char d[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    CryptoLaden().digest_final(static_cast<EVP_MD_CTX*>(ctx_), d, &n);
    return std::string(reinterpret_cast<const char*>(d), n);
}

std::string Sha256Von(std::string_view daten) {
    Sha256 s;
    s.Dazu(daten.data(), daten.size());
    return s.Ende();
}

std::string Hex(std::string_view bytes) {
    constexpr char kZiffern[] = "0123456789abcdef";
    std::string aus;
    aus.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        aus += kZiffern[b >> 4];
        aus += kZiffern[b & 0xF];
    }
    return aus;
}

std::string Base64(std::string_view bytes) {
    std::string aus((bytes.size() + 2) / 3 * 4 + 1, '\0');
    const int n = CryptoLaden().encode_block(reinterpret_cast<unsigned char*>(aus.data()),
                                             reinterpret_cast<const unsigned char*>(bytes.data()),
                                             static_cast<int>(bytes.size()));
    aus.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return aus;
}

std::string DerAusPem(std::string_view pem) {
    const std::string_view anfang = "-----BEGIN CERTIFICATE-----";
    const std::string_view ende = "-----END CERTIFICATE-----";
    const auto a = pem.find(anfang);
    if (a == std::string_view::npos) return {};
    const auto e = pem.find(ende, a);
    if (e == std::string_view::npos) return {};
    std::string b64;
    for (const char c : pem.substr(a + anfang.size(), e - a - anfang.size()))
        if (c != '\n' && c != '\r' && c != ' ') b64 += c;
    if (b64.empty() || b64.size() % 4 != 0) return {};
    std::string der(b64.size() / 4 * 3, '\0');
    const int n = CryptoLaden().decode_block(reinterpret_cast<unsigned char*>(der.data()),
                                             reinterpret_cast<const unsigned char*>(b64.data()),
                                             static_cast<int>(b64.size()));
    if (n < 0) return {};
    // EVP_DecodeBlock counts the padding as zero bytes.
    std::size_t laenge = static_cast<std::size_t>(n);
    for (auto i = b64.size(); i > 0 && b64[i - 1] == '=' && laenge > 0; --i) --laenge;
    der.resize(laenge);
    return der;
}

std::string PinDesSchluessels(std::string_view der) {
    const Crypto& c = CryptoLaden();
    const auto* p = reinterpret_cast<const unsigned char*>(der.data());
    X509* zert = c.d2i_x509(nullptr, &p, static_cast<long>(der.size()));
    if (!zert) return {};
    std::string pin;
    const X509_PUBKEY* schluessel = c.get_pubkey(zert);
    const int n = c.i2d_pubkey(schluessel, nullptr);
    if (n > 0) {
        std::string spki(static_cast<std::size_t>(n), '\0');
        auto* ziel = reinterpret_cast<unsigned char*>(spki.data());
        if (c.i2d_pubkey(schluessel, &ziel) == n) pin = "sha256//" + Base64(Sha256Von(spki));
    }
    c.x509_free(zert);
    return pin;
}

}  // namespace lw
