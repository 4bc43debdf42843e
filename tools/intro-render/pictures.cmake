# The picture subcommands (frame, sheet) and the library that the shader tests and benchmark
# share with them: frames drawn headless through the program's own frame routine. Where there is
# no headless OpenGL (EGL), intro-render is built without them.
if(NOT TARGET intro_platform_headless OR NOT TARGET intro_shader OR NOT TARGET intro_host
   OR NOT TARGET tool_common)
  return()
endif()
find_package(PNG REQUIRED)
add_library(intro_render_pictures STATIC
  contact_sheet.cpp
  frame_command.cpp
  frame_renderer.cpp
  picture_options.cpp
  png_file.cpp
  sheet_command.cpp
)
target_include_directories(intro_render_pictures PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(intro_render_pictures
  PUBLIC intro_host intro_shader intro_platform_headless tool_common PNG::PNG
  PRIVATE intro_warnings)

target_link_libraries(intro-render PRIVATE intro_render_pictures)
target_compile_definitions(intro-render PRIVATE INTRO_RENDER_PICTURES)
