# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE
  color/yuv_ycbcr_ycc.cpp
  color/xyz.cpp
  color/hsv_hls.cpp
  color/luv.cpp
  color/lab.cpp)
