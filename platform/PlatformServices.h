#pragma once
// Operating-system services behind small interfaces, so that the window can be given fakes in
// tests: powering the computer off and playing the completion sound.

#include <QString>

#include <memory>

namespace platform {

// Shuts the computer down at the end of a run when the user chose it.
class PowerControl {
public:
    virtual ~PowerControl() = default;
    // Asks for (enable) or gives back (disable) the right to power off; true when granted.
    virtual bool SetPrivilege(const QString& name, bool enable) = 0;
    // Powers the machine off, closing applications; false when the system refused.
    virtual bool PowerOff() = 0;
};

// Plays a sound file without waiting for it; nothing happens when the file is missing or no
// audio device exists.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void PlayAsync(const QString& wavPath) = 0;
};

// systemd-logind over D-Bus. Refuses (returns false, does nothing) while the environment has
// CHENFAN_FORBID_POWER_OFF or CI set, so that no test or CI run can ever power a machine off.
std::unique_ptr<PowerControl> makeSystemPowerControl();
bool powerOffForbiddenByEnvironment();

std::unique_ptr<SoundPlayer> makeSystemSoundPlayer();

} // namespace platform
