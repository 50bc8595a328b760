// What the module asked the application to do that leaves no trace in the scene: change
// notifications, material updates and messages to channels. Counted so tests can see them.
#pragma once

namespace host {

struct HostEvents {
    long changeNotifications = 0; // notify_change calls
    long materialUpdates = 0;     // material.update calls
    long channelMessages = 0;     // messages sent to channels
};

/// The counts since the last reset (process-wide, like the application's event queue).
HostEvents& hostEvents();
void resetHostEvents();

} // namespace host
