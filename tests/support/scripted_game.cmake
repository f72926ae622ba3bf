# Sets ZYPHORA_SCRIPTED_RUNS when the scripted runner can work: the game, the sound library and
# a factory that makes the software Direct3D window (the one every headless run needs).
set(ZYPHORA_SCRIPTED_RUNS OFF)
set(factory_source ${PROJECT_SOURCE_DIR}/srcs/KQRX.cpp)
if(TARGET zygame AND TARGET ksound AND EXISTS ${factory_source})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${factory_source})
  file(READ ${factory_source} factory)
  string(FIND "${factory}" "KWindowD3D" d3d_at)
  if(d3d_at GREATER -1)
    set(ZYPHORA_SCRIPTED_RUNS ON)
  endif()
endif()

# scripted_test_on_both(name SUITE Base SOURCES ... LABELS ... [ENV ...]): one scripted-runner
# suite built twice, as name_d3d_test on the software Direct3D device and as name_gl_test on
# OpenGL. RENDERER_SUITE names its cases' suite: BaseD3D or BaseGL.
function(scripted_test_on_both name)
  cmake_parse_arguments(S "" "SUITE" "SOURCES;LABELS;ENV" ${ARGN})
  zy_test(${name}_d3d_test SOURCES ${S_SOURCES} LIBS scripted_game LABELS ${S_LABELS}
          ENV SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ${S_ENV})
  target_compile_definitions(${name}_d3d_test PRIVATE RENDERER_SUITE=${S_SUITE}D3D)
  zy_test(${name}_gl_test SOURCES ${S_SOURCES} LIBS scripted_game LABELS ${S_LABELS} gl
          ENV ZYPHORA_RENDERER=opengl SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 ${S_ENV})
  target_compile_definitions(${name}_gl_test PRIVATE RENDERER_SUITE=${S_SUITE}GL)
endfunction()
