// Small routines on the shared values.
#include "mglobal.hpp"

#include <limits>

namespace corvane {

void SetSkillLevel(MGlobal& g, const std::string& sSkillLevel) {
    g.sSkillLevel = sSkillLevel;
    if (sSkillLevel == "Hard") {
        g.nSkillLevel = 2;
    } else if (sSkillLevel == "Medium") {
        g.nSkillLevel = 1;
    } else {
        g.nSkillLevel = 0;
    }
}

void StoreTickCount(std::int32_t& lSeed, std::uint32_t nTickCount) {
    const auto nSigned = static_cast<std::int32_t>(nTickCount);
    // The absolute value of -2^31 does not fit; 1 is a seed the generator cycles from.
    if (nSigned == std::numeric_limits<std::int32_t>::min()) {
        lSeed = 1;
        return;
    }
    lSeed = nSigned < 0 ? -nSigned : nSigned;
}

void EraseScores(MGlobal& g) {
    g.ScoresOne.clear();
    g.ScoresTwo.clear();
    g.ScoresThree.clear();
    g.ScoresUser.clear();
}

} // namespace corvane
