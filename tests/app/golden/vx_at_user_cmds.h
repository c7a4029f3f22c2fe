#ifndef VX_MULTI_UART_VX_AT_USER_CMDS_H_
#define VX_MULTI_UART_VX_AT_USER_CMDS_H_


#define USE_HELP_VT100_COLORS        1



#define AT_CMD_COUNT            7


#endif /* VX_MULTI_UART_VX_AT_USER_CMDS_H_ */
