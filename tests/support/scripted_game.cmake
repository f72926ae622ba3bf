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
