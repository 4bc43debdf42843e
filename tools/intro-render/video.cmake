# The video and waveform subcommands: the piece captured through the ffmpeg program (a child
# process fed through a pipe, so POSIX only) and a picture of the song. They draw with the
# picture library, so they are built where it is.
if(NOT TARGET intro_render_pictures OR NOT UNIX)
  return()
endif()
add_library(intro_render_video STATIC
  ffmpeg_process.cpp
  frame_feeder.cpp
  progress_line.cpp
  song_picture.cpp
  song_samples.cpp
  video_capture.cpp
  video_command.cpp
  video_plan.cpp
  waveform_command.cpp
)
target_include_directories(intro_render_video PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
find_package(Threads REQUIRED)
target_link_libraries(intro_render_video
  PUBLIC intro_render_pictures synth tool_common Threads::Threads
  PRIVATE intro_warnings)

target_link_libraries(intro-render PRIVATE intro_render_video)
target_compile_definitions(intro-render PRIVATE INTRO_RENDER_VIDEO)
