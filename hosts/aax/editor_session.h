#pragma once
// kelvo-aax PLUGIN --png OUT.png [actions...]: an instance's editor opened as an AAX host
// opens it, through the plug-in's GUI object, into a window of the host's with a Cocoa view
// container; the actions performed on it as kelvo-editor performs them, with the host's
// periodic call and the main run loop going; the window written as a PNG; and what the host
// received printed (host_receipts.h).

#include "aax_options.h"
#include "plugin_session.h"

namespace kelvohost {

// [main thread] Exit status. Throws InputError for what the user asked that cannot be done,
// an --input the plug-in cannot play among it, refused as a render refuses it.
int showEditor(const AaxOptions& options, const PluginSession& session);

} // namespace kelvohost
