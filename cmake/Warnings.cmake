# Warnings on for everything the project compiles.
add_compile_options(-Wall -Wextra -Wshadow=local $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
