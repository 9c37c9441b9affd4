// The pairing pass against the nested scan it replaced, on the same tables of
// a drawing in which every member finds its part.
#pragma once

namespace tav::bench {

struct PairingRace {
    int records = 0;
    double pairingSeconds = 0;     // CPU time, the best of several passes
    double nestedScanSeconds = 0;  // one pass
    bool sameResult = false;       // both gave every member the same colour
};

PairingRace racePairing(int records);

}  // namespace tav::bench
