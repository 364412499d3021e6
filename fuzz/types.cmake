# Text readers of the data types: StringTo*, ParseValue, FormatValue of what
# was read, the fixed date-time pattern, type parameters and row buffer cells.
clavira_add_fuzzer(types_readers ${CMAKE_CURRENT_LIST_DIR}/TypesReadersFuzz.cpp df_types platform)
