# Translators' files (.po, .ts): any bytes give a catalog or the reader's own
# error; a PO catalog writes and reads back the same; imports keep the keys.
clavira_add_fuzzer(translation_exchange ${CMAKE_CURRENT_LIST_DIR}/TranslationExchangeFuzz.cpp
                   df_translation_exchange)
