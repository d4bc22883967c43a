#pragma once

// The provider's names, in one place.
namespace lw::konfiguration {

inline constexpr const char* HomepageDomain = ".netzhof.de";
inline constexpr const char* DownloadDomain = ".netzhof-download.de";
inline constexpr const char* ProviderDomain = "netzhof.de";
inline constexpr const char* GuestbookHost = "gaestebuch.netzhof.de";
inline constexpr const char* AdServerHost = "werbung.netzhof.de";

}  // namespace lw::konfiguration
