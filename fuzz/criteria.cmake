# The text form of criteria read from a stream: any bytes give a criteria or
# one of the reader's own errors, and what was read writes and reads back
# equal.
clavira_add_fuzzer(criteria_stream ${CMAKE_CURRENT_LIST_DIR}/CriteriaStreamFuzz.cpp
                   df_core df_types platform)
# df_core is folded from two object libraries: instrument them as well.
foreach(library IN ITEMS df_conditions_obj df_elements_obj)
  if(TARGET ${library})
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endforeach()
