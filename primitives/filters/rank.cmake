# Sources of this family, relative to primitives/.
target_sources(fc_primitives PRIVATE)
