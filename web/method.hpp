#ifndef ABSINK_WEB_METHOD_HPP
#define ABSINK_WEB_METHOD_HPP

/*
 * The model's factors, coefficients and limits as the page's method
 * section prints them, in German prose, from their homes (model.hpp,
 * steps.hpp, sedimentation.h), and the report's warning line, so that a
 * change there cannot leave the page's text behind.
 */

/* ,"method":{"name":"number",...} */
void put_method();

#endif
