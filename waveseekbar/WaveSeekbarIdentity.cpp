// The seekbar's identity, apart from its services so that tests can build the
// same bundle under another version.

#include "ComponentIdentity.h"

namespace qvn {
const ComponentIdentity g_identity{"qov_wave_seekbar", "0.8", "Waveform Seekbar",
                                   "Waveform seekbar UI element for quorvane for Mac.\n"
                                   "Add to layout as: waveform-seekbar (option: time=sides)"};
}
