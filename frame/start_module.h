#pragma once

/// Registers the module's plug-ins in their fixed order, all or nothing: stops at the first
/// registration that fails and answers false; registrations already made stay.
bool StartModule();
