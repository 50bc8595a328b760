// The shared module is linked from the module's static library as a whole; this unit only
// gives the linker a target to start from.
