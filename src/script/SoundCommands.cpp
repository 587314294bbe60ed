// Sound commands.
#include "script/SoundCommands.h"

namespace qa::script {

bool SoundCommands::playTrack(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool SoundCommands::playSfx(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool SoundCommands::pauseTrack(std::string, platform::Vec3, scene::ImageItem*) { return false; }
void SoundCommands::destroyEffects() {}

}  // namespace qa::script
