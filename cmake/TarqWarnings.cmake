# Compiler warnings and the sanitizer configuration, applied to every target of the project.
add_compile_options(-Wall -Wextra)
if(TARQ_WERROR)
  add_compile_options(-Werror)
endif()

if(TARQ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
