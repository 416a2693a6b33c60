// `zemo --export-video OUT [--from F] [--to F] [--size W,H] [--skeleton BON] [--labels] CAPTURE`:
// the video export from the command line, drawn by the view of a window that is never shown.
#pragma once

// True when the command line asks for a video export.
bool is_export_video_command(int argc, char** argv);
// Runs it: 0 written, 1 refused or failed, 2 wrong usage; messages on standard error.
int export_video_command(int argc, char** argv);
