if(RAVOLIN_SANITIZE)
  # The invariant checks of base/Assert.h run in this build as well.
  add_compile_definitions(RAVOLIN_CHECKS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
