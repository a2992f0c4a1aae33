// The seekbar as a newer version would be, for the restart test to install.

#include "ComponentIdentity.h"

namespace qvn {
const ComponentIdentity g_identity{"qov_wave_seekbar", "0.9", "Waveform Seekbar",
                                   "The next waveform seekbar."};
}
