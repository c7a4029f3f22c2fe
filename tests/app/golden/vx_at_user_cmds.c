#include <avr/io.h>
#include <avr/pgmspace.h>
#include <util/delay.h>
#include <string.h>

//#1[ user section 1   (don't remove this line)
// ..... enter other system includes below ......  



//#1]---   (don't remove this line)

#include "../VX_MULTI_UART/vx_multi_uart.h"
#include "../VX_MULTI_UART/vx_at_cmd.h"
#include "vx_at_user_cmds.h"

//#2[ user section 2   (don't remove this line)
// ..... enter your includes, variables and/or additional functions ...... 



//#2]---   (don't remove this line)

/* ------- AT COMMAND LIST  count: 7 -------
 *  
 *  SET - function for commands received from terminal to set parameters into uC
 *  GET - function for commands received from terminal to return values from uC
 *
 *  Prefix description ( only for COMMANDS with parameters "=" )
 *  ! - exlude GET function
 *
 *    ATE0 - echo off
 *    ATE1 - echo on
 *    AT+CHADDR=<change ip addr>
 *    AT+DISP=<1-5>
 *    AT+LCD=<y>,<x>,<text>
 *    AT+RST? - reboot uC
 *    AT+TEMP=!<zähler>
 */


#if USE_AT_CMD == 1

///[ ATE0 ----------------------------------
///{ ATE0 - echo off
const char ate0[] PROGMEM = "ATE0";
const char ate0_inf[] PROGMEM = " - echo off";

uint8_t ate0_set( uint8_t uart_nr, char * params ) {
    /* ... enter your code here ... */
    return 0;    // exit code: 0-OK, 1-ERROR
}
//}]--- ATE0 end ------------------------------


///[ ATE1 ----------------------------------
///{ ATE1 - echo on
const char ate1[] PROGMEM = "ATE1";
const char ate1_inf[] PROGMEM = " - echo on";

uint8_t ate1_set( uint8_t uart_nr, char * params ) {
    /* ... enter your code here ... */
    return 0;    // exit code: 0-OK, 1-ERROR
}
//}]--- ATE1 end ------------------------------


///[ AT+CHADDR ----------------------------------
///{ AT+CHADDR=<change ip addr>
const char at_chaddr[] PROGMEM = "AT+CHADDR";
const char at_chaddr_inf[] PROGMEM = "=<change ip addr>";

uint8_t at_chaddr_set( uint8_t uart_nr, char * params ) {
    /* ... enter your code here ... */
    return 0;    // exit code: 0-OK, 1-ERROR
}

void at_chaddr_get( uint8_t uart_nr ) {
    /* ... enter your code here ... */
}
//}]--- AT+CHADDR end ------------------------------


///[ AT+DISP ----------------------------------
///{ AT+DISP=<1-5>
const char at_disp[] PROGMEM = "AT+DISP";
const char at_disp_inf[] PROGMEM = "=<1-5>";

uint8_t at_disp_set( uint8_t uart_nr, char * params ) {
    /* ... enter your code here ... */
    return 0;    // exit code: 0-OK, 1-ERROR
}

void at_disp_get( uint8_t uart_nr ) {
    /* ... enter your code here ... */
}
//}]--- AT+DISP end ------------------------------


///[ AT+LCD ----------------------------------
///{ AT+LCD=<y>,<x>,<text>
const char at_lcd[] PROGMEM = "AT+LCD";
const char at_lcd_inf[] PROGMEM = "=<y>,<x>,<text>";

uint8_t at_lcd_set( uint8_t uart_nr, char * params ) {
    /* ... enter your code here ... */
    return 0;    // exit code: 0-OK, 1-ERROR
}

void at_lcd_get( uint8_t uart_nr ) {
    /* ... enter your code here ... */
}
//}]--- AT+LCD end ------------------------------


///[ AT+RST? ----------------------------------
///{ AT+RST? - reboot uC
const char at_rst[] PROGMEM = "AT+RST?";
const char at_rst_inf[] PROGMEM = " - reboot uC";

uint8_t at_rst_set( uint8_t uart_nr, char * params ) {
    /* ... enter your code here ... */
    return 0;    // exit code: 0-OK, 1-ERROR
}
//}]--- AT+RST? end ------------------------------


///[ AT+TEMP ----------------------------------
///{ AT+TEMP=!<zähler>
const char at_temp[] PROGMEM = "AT+TEMP";
const char at_temp_inf[] PROGMEM = "=!<zähler>";

uint8_t at_temp_set( uint8_t uart_nr, char * params ) {
    /* ... enter your code here ... */
    return 0;    // exit code: 0-OK, 1-ERROR
}

void at_temp_get( uint8_t uart_nr ) {
    /* ... enter your code here ... */
}
//}]--- AT+TEMP end ------------------------------


const TATCMD atcmd[ AT_CMD_COUNT ] PROGMEM = {
    { .at_cmd = ate0, .at_inf = ate0_inf, .at_set = ate0_set, .at_get = NULL },     // ATE0
    { .at_cmd = ate1, .at_inf = ate1_inf, .at_set = ate1_set, .at_get = NULL },     // ATE1
    { .at_cmd = at_chaddr, .at_inf = at_chaddr_inf, .at_set = at_chaddr_set, .at_get = at_chaddr_get },     // AT+CHADDR
    { .at_cmd = at_disp, .at_inf = at_disp_inf, .at_set = at_disp_set, .at_get = at_disp_get },     // AT+DISP
    { .at_cmd = at_lcd, .at_inf = at_lcd_inf, .at_set = at_lcd_set, .at_get = at_lcd_get },     // AT+LCD
    { .at_cmd = at_rst, .at_inf = at_rst_inf, .at_set = at_rst_set, .at_get = NULL },     // AT+RST?
    { .at_cmd = at_temp, .at_inf = at_temp_inf, .at_set = at_temp_set, .at_get = at_temp_get },     // AT+TEMP
};


#endif        //#if USE_AT_CMD == 1