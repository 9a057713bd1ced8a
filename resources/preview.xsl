<?xml version="1.0" encoding="UTF-8"?>
<!-- The built-in preview: the document's page as a browser shows it, with
     the page's language and direction, its base address and its style rules.
     Elements are matched by local name, so the page may or may not carry the
     XHTML namespace. -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:xhtml11="http://www.w3.org/1999/xhtml"
    exclude-result-prefixes="xhtml11">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>

  <xsl:param name="lang" select="'en'"/>
  <xsl:param name="dir" select="'ltr'"/>
  <xsl:param name="css" select="''"/>
  <xsl:param name="base" select="''"/>

  <xsl:template match="/">
    <html lang="{$lang}" dir="{$dir}">
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-16"/>
        <xsl:if test="$base != ''">
          <base href="{$base}"/>
        </xsl:if>
        <title>
          <xsl:value-of select="//*[local-name()='head']/*[local-name()='title']"/>
        </title>
        <xsl:if test="$css != ''">
          <style type="text/css">
            <xsl:value-of select="$css"/>
          </style>
        </xsl:if>
      </head>
      <body>
        <xsl:choose>
          <xsl:when test="//*[local-name()='body']">
            <xsl:apply-templates select="(//*[local-name()='body'])[1]/node()"/>
          </xsl:when>
          <xsl:otherwise>
            <xsl:apply-templates select="node()"/>
          </xsl:otherwise>
        </xsl:choose>
      </body>
    </html>
  </xsl:template>

  <!-- Elements are written without a namespace, their attributes and
       content as they are. -->
  <xsl:template match="*">
    <xsl:element name="{local-name()}">
      <xsl:apply-templates select="@*|node()"/>
    </xsl:element>
  </xsl:template>

  <xsl:template match="@*|text()">
    <xsl:copy/>
  </xsl:template>

  <xsl:template match="comment()|processing-instruction()"/>
</xsl:stylesheet>
