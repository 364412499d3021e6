# The translation file: any bytes give translations or the reader's own
# error, and what was read takes its place in the strings and writes and
# reads back the same.
clavira_add_fuzzer(translation_file ${CMAKE_CURRENT_LIST_DIR}/TranslationFileFuzz.cpp
                   df_translation df_core df_types platform)
