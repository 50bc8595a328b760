// Starting a program as a process of its own, the one place that talks to the operating system
// for the renderer start.
#pragma once

/// Starts `program` with one argument, without waiting for it, in `folder` as its working
/// directory; this process's own working directory is not touched. The program is looked for in
/// `folder` first, then along PATH (relative PATH entries count from `folder`). `argument` is
/// given as a command line gives it: a path between double quotes arrives as the path alone.
/// Answers 0 when the program runs, ENOTDIR when `folder` is not a folder, ENOENT when no program
/// of that name was found, or the system's error number of the start that failed (EACCES: found
/// but not executable).
int StartProgramInFolder(const char* folder, const char* program, const char* argument);
