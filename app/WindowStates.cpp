#include "WindowStates.h"

namespace appstate {
namespace {

enum class E { Off, On, Keep, ToolOnly };

// Rows: states; columns: Add, Remove, Rename, Clear, Start, Stop, Pause, Resume, Settings.
constexpr E kTable[kStateCount][kGroupCount] = {
    /* Empty      */ {E::On, E::Off, E::Off, E::Off, E::Off, E::Off, E::Off, E::Off, E::On},
    /* Ready      */ {E::On, E::On, E::On, E::On, E::On, E::Off, E::Off, E::Off, E::On},
    /* Converting */ {E::Off, E::Off, E::Off, E::Off, E::Off, E::On, E::On, E::Off, E::Off},
    /* Paused     */ {E::Off, E::Off, E::Off, E::Off, E::Off, E::On, E::Off, E::On, E::Off},
    /* Stopped    */ {E::Off, E::Off, E::Off, E::Off, E::ToolOnly, E::Off, E::Keep, E::Keep, E::On},
    /* Finished   */ {E::Off, E::Off, E::Off, E::On, E::Keep, E::Off, E::Off, E::Off, E::On},
};

} // namespace

GroupStates enter(WindowState state, const GroupStates& current) {
    GroupStates next = current;
    const auto& row = kTable[static_cast<int>(state)];
    for (int g = 0; g < kGroupCount; ++g) {
        auto& slot = next[static_cast<std::size_t>(g)];
        switch (row[g]) {
        case E::Off:
            slot = {false, false};
            break;
        case E::On:
            slot = {true, true};
            break;
        case E::ToolOnly:
            slot = {true, false};
            break;
        case E::Keep:
            break;
        }
    }
    return next;
}

GroupStates initialGroups() {
    return enter(WindowState::Empty, GroupStates{});
}

std::string_view groupName(Group g) {
    constexpr std::string_view names[kGroupCount] = {"Add",  "Remove", "Rename", "Clear",   "Start",
                                                     "Stop", "Pause",  "Resume", "Settings"};
    return names[static_cast<int>(g)];
}

std::string_view stateName(WindowState s) {
    constexpr std::string_view names[kStateCount] = {"Empty",  "Ready",   "Converting",
                                                     "Paused", "Stopped", "Finished"};
    return names[static_cast<int>(s)];
}

} // namespace appstate
