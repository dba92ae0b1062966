# The libraries the media layers (platform/media) sit on, found through
# pkg-config. Only those layers link them; components never do.
#   PkgConfig::FFMPEG  libavformat, libavcodec, libavutil, libswscale, libswresample
#   PkgConfig::SDL2    the preview window and the audio output devices
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET
  libavformat libavcodec libavutil libswscale libswresample)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
