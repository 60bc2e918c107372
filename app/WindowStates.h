#pragma once
// The window's control groups and the states that switch them on and off as the list fills,
// converts, pauses, stops and finishes. Plain data, so the rules can be checked without a window.

#include <array>
#include <string_view>

namespace appstate {

enum class Group { Add, Remove, Rename, Clear, Start, Stop, Pause, Resume, Settings };
constexpr int kGroupCount = 9;

enum class WindowState { Empty, Ready, Converting, Paused, Stopped, Finished };
constexpr int kStateCount = 6;

// A group's tool button and its menu items are enabled together, except the Start group
// after a Stop: its tool button converts the list again while "开始转换" stays off.
struct GroupEnable {
    bool tool = false;
    bool menu = false;
    bool operator==(const GroupEnable&) const = default;
};

using GroupStates = std::array<GroupEnable, kGroupCount>;

// The enabled set after entering `state` from `current`: groups the state leaves alone
// ("as before", "unchanged") keep what they had.
GroupStates enter(WindowState state, const GroupStates& current);

// The set when the window opens: Add and Settings on, everything else off.
GroupStates initialGroups();

std::string_view groupName(Group g);
std::string_view stateName(WindowState s);

inline GroupEnable& at(GroupStates& s, Group g) {
    return s[static_cast<std::size_t>(g)];
}
inline const GroupEnable& at(const GroupStates& s, Group g) {
    return s[static_cast<std::size_t>(g)];
}

} // namespace appstate
