#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// SHA-256 and the certificate steps of the publishing, from OpenSSL's
// libcrypto. libcurl brings that library along, so it is loaded with libcurl
// at the first publish instead of at every start of the program.
namespace lw {

class Sha256 final {
public:
    // Throws Fehler when libcrypto cannot be loaded.
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Dazu(const char* daten, std::size_t n);
    // The 32 bytes of the digest; the object is spent afterwards.
    std::string Ende();

private:
    void* ctx_ = nullptr;
};

std::string Sha256Von(std::string_view daten);
// Lower-case hexadecimal, two digits a byte.
std::string Hex(std::string_view bytes);
// Standard Base64 with padding.
std::string Base64(std::string_view bytes);

// The DER bytes of the first certificate of a PEM text; empty when there is none.
std::string DerAusPem(std::string_view pem);
// "sha256//<Base64>" of the certificate's public key, as libcurl pins it;
// empty when the bytes are no certificate.
std::string PinDesSchluessels(std::string_view der);

}  // namespace lw
