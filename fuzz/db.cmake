# Taking connection strings apart never crashes or hangs, whatever the text.
clavira_add_fuzzer(connection_string ${PROJECT_SOURCE_DIR}/fuzz/ConnectionStringFuzzer.cpp db)
