#include "common/Curl.h"

#include "common/Bibliothek.h"

namespace lw {

const Curl* CurlLaden() {
    static const Curl* const geladen = []() -> const Curl* {
        // The library this program was built against (libcurl4).
        void* bibliothek = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!bibliothek) return nullptr;
        static Curl curl;
        if (!Holen(bibliothek, "curl_global_init", curl.global_init) ||
            !Holen(bibliothek, "curl_easy_init", curl.easy_init) ||
            !Holen(bibliothek, "curl_easy_setopt", curl.easy_setopt) ||
            !Holen(bibliothek, "curl_easy_getinfo", curl.easy_getinfo) ||
            !Holen(bibliothek, "curl_easy_cleanup", curl.easy_cleanup) ||
            !Holen(bibliothek, "curl_easy_strerror", curl.easy_strerror) ||
            !Holen(bibliothek, "curl_multi_init", curl.multi_init) ||
            !Holen(bibliothek, "curl_multi_add_handle", curl.multi_add_handle) ||
            !Holen(bibliothek, "curl_multi_remove_handle", curl.multi_remove_handle) ||
            !Holen(bibliothek, "curl_multi_perform", curl.multi_perform) ||
            !Holen(bibliothek, "curl_multi_poll", curl.multi_poll) ||
            !Holen(bibliothek, "curl_multi_timeout", curl.multi_timeout) ||
            !Holen(bibliothek, "curl_multi_info_read", curl.multi_info_read) ||
            !Holen(bibliothek, "curl_multi_cleanup", curl.multi_cleanup) ||
            !Holen(bibliothek, "curl_multi_setopt", curl.multi_setopt) ||
            !Holen(bibliothek, "curl_slist_append", curl.slist_append) ||
            !Holen(bibliothek, "curl_slist_free_all", curl.slist_free_all))
            return nullptr;
        curl.global_init(CURL_GLOBAL_DEFAULT);
        return &curl;
    }();
    return geladen;
}

}  // namespace lw
