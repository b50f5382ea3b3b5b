# Warnings on for everything the project compiles. Clang (the fuzz build)
# does not know GCC's -Wshadow=local.
add_compile_options(-Wall -Wextra $<$<NOT:$<CXX_COMPILER_ID:Clang>>:-Wshadow=local>
                    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
