# Text readers of the platform runtime and the message placeholder rule.
clavira_add_fuzzer(platform_text ${CMAKE_CURRENT_LIST_DIR}/PlatformTextFuzz.cpp df_types platform)
