#pragma once

#include <functional>
#include <string>

namespace lw {

// Called between the chunks of a download so that the windows can process
// their pending events.
using Zwischenschritt = std::function<void()>;

// HTTP GET of one page. The body for status 200 and 302, "Status:" + code for
// every other status, the empty text when the host cannot be reached.
std::string LadeURL(const std::string& url, const Zwischenschritt& zwischenschritt = {});

}  // namespace lw
