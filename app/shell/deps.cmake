# The single-instance hand-over runs over a local socket.
find_package(Qt6 REQUIRED COMPONENTS Network)
target_link_libraries(VellumixAppLib PUBLIC Qt6::Network)
