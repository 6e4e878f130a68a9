# Both instrument reply decoders and their completeness tests.
ohmlet_fuzz_target(reply_decoder_fuzz reply_decoder_fuzz.cpp)
target_link_libraries(reply_decoder_fuzz PRIVATE ohmlet_transfer)
