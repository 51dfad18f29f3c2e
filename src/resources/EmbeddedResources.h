// Files compiled into the programs, so that they need nothing beside them at run time.
#pragma once

#include <string_view>

namespace skribo {

// The GIF bytes of emoticon image n (1 to 79); empty for any other n.
std::string_view EmoticonGif(int n);

}  // namespace skribo
