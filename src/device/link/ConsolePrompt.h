#pragma once
// The gateway console's prompt: the link watches for it to end a reply early, the reply handlers
// to cut error texts. Plain functions on the text, no state.
#include <string_view>

namespace korvex::device {

// The console prompt that ends every console reply.
inline constexpr std::string_view kPrompt = ":->";

inline bool containsPrompt(std::string_view reply) {
    return reply.find(kPrompt) != std::string_view::npos;
}

// True when the reply ends with the prompt, after any trailing blanks or line ends: the gateway
// has said all it will say and waits for the next line.
inline bool endsWithPrompt(std::string_view reply) {
    while (!reply.empty() && (reply.back() == ' ' || (reply.back() >= '\t' && reply.back() <= '\r')))
        reply.remove_suffix(1);
    return reply.ends_with(kPrompt);
}

} // namespace korvex::device
