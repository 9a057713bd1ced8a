<?xml version="1.0" encoding="UTF-8"?>
<!-- The built-in screen-reader view: the document read in order as plain
     blocks, the way a screen reader announces it. Headings, lists, tables,
     links and pictures are named before their content; a picture is its
     alternative text. No style rules apply. -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:xhtml11="http://www.w3.org/1999/xhtml"
    exclude-result-prefixes="xhtml11">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>

  <xsl:param name="lang" select="'en'"/>

  <xsl:template match="/">
    <html lang="{$lang}">
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-16"/>
        <title>
          <xsl:value-of select="//*[local-name()='head']/*[local-name()='title']"/>
        </title>
      </head>
      <body style="font-family: monospace">
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

  <xsl:template match="*[local-name()='h1' or local-name()='h2' or local-name()='h3'
      or local-name()='h4' or local-name()='h5' or local-name()='h6']">
    <p>[Heading level <xsl:value-of select="substring(local-name(), 2)"/>] <xsl:apply-templates/></p>
  </xsl:template>

  <xsl:template match="*[local-name()='p' or local-name()='div' or local-name()='address'
      or local-name()='pre' or local-name()='caption' or local-name()='dt' or local-name()='dd']">
    <p><xsl:apply-templates/></p>
  </xsl:template>

  <xsl:template match="*[local-name()='blockquote']">
    <p>[Quote]</p>
    <xsl:apply-templates/>
    <p>[End of quote]</p>
  </xsl:template>

  <xsl:template match="*[local-name()='ul' or local-name()='ol' or local-name()='dl']">
    <p>[List of <xsl:value-of select="count(*[local-name()='li' or local-name()='dt'])"/> items]</p>
    <xsl:apply-templates/>
    <p>[End of list]</p>
  </xsl:template>

  <xsl:template match="*[local-name()='li']">
    <p><xsl:value-of select="count(preceding-sibling::*[local-name()='li']) + 1"/>. <xsl:apply-templates/></p>
  </xsl:template>

  <xsl:template match="*[local-name()='table']">
    <p>[Table<xsl:if test="@summary">: <xsl:value-of select="@summary"/></xsl:if>]</p>
    <xsl:apply-templates/>
    <p>[End of table]</p>
  </xsl:template>

  <xsl:template match="*[local-name()='tr']">
    <p>[Row]<xsl:for-each select="*[local-name()='td' or local-name()='th']">
        <xsl:text> | </xsl:text><xsl:apply-templates/>
      </xsl:for-each></p>
  </xsl:template>

  <xsl:template match="*[local-name()='a'][@href]">
    <xsl:text>[Link] </xsl:text><xsl:apply-templates/>
  </xsl:template>

  <xsl:template match="*[local-name()='img']">
    <xsl:text>[Image] </xsl:text><xsl:value-of select="@alt"/>
  </xsl:template>

  <xsl:template match="*[local-name()='hr']">
    <p>[Separator]</p>
  </xsl:template>

  <xsl:template match="*[local-name()='br']">
    <br/>
  </xsl:template>

  <xsl:template match="*[local-name()='script' or local-name()='style']"/>

  <!-- Every other element is read for its content. -->
  <xsl:template match="*">
    <xsl:apply-templates/>
  </xsl:template>

  <xsl:template match="comment()|processing-instruction()"/>
</xsl:stylesheet>
