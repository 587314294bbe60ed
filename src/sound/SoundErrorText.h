// The sound library's last-error code as a fixed English message.
#pragma once

namespace qa::sound {

// Never null; "Unknown error" for codes outside 0 to 18.
const char* SoundErrorText(int code);

}  // namespace qa::sound
