#pragma once
// Which features the controller's revisions allow: the groups the refresh shows or hides, and
// the revision tests the live display and the emulator tables make. One place, so a rule is
// never written twice with different bounds.
#include <cstdint>

namespace kaldor {

struct RevisionGroups {
    // Software below 2: the cut-off and cruise panel, the correction maps, the CDi emulator
    // (with the enabled errors), the cut-off and "ADVANCED" groups and the double injection
    // group are hidden; every refresh shows them again for a later revision.
    bool hideAdvanced = false;
    // Software below 3 hides the cruise controls; from 3 on they are shown.
    bool cruiseShown = false;
    // The simple DNA emulator group, instead of the CDi emulator choice on the parameters page.
    bool dnaSimple = false;
    // The frequency algorithm group of the emulator page.
    bool frequencyAlgorithm = false;
};

[[nodiscard]] constexpr RevisionGroups revisionGroups(unsigned software, unsigned hardware) {
    RevisionGroups g;
    g.hideAdvanced = software < 2;
    g.cruiseShown = software >= 3;
    g.dnaSimple = hardware == 2 || hardware == 3 || (software == 5 && hardware == 1);
    g.frequencyAlgorithm = software >= 10 && hardware != 1;
    return g;
}

// "SET PIN" is offered from software 11 on, once the PIN has been accepted.
[[nodiscard]] constexpr bool setPinOffered(unsigned software, bool pinAccepted) {
    return software >= 11 && pinAccepted;
}

// The TPS emulator's measured range goes into the two range spin editors.
[[nodiscard]] constexpr bool emulatorRangeShown(unsigned software, unsigned hardware) {
    return software > 4 && hardware != 1;
}

// With the DNA emulator on, these controllers feed the rail signal through the throttle inputs'
// divider.
[[nodiscard]] constexpr bool dnaRailInputDivided(unsigned software, unsigned hardware) {
    return software >= 5 && hardware == 2;
}

// The emulator page shows the two emulator input voltages.
[[nodiscard]] constexpr bool emulatorVoltagesShown(unsigned software, unsigned hardware) {
    return (hardware == 1 && software == 5) || (hardware == 2 && software > 5);
}

}  // namespace kaldor
