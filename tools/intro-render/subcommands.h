// The subcommands of intro-render. Each takes the arguments after its name and returns the
// process exit code.
#pragma once

int run_wav(int argc, char** argv);
int run_frame(int argc, char** argv);
int run_sheet(int argc, char** argv);
int run_video(int argc, char** argv);
int run_waveform(int argc, char** argv);
